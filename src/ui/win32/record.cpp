#include "ui/win32/record.h"

#include <map>
#include <memory>

namespace ui::win32 {
namespace {

std::map<HWND, std::unique_ptr<Record>>& records() {
    static std::map<HWND, std::unique_ptr<Record>> all;
    return all;
}

}  // namespace

const Control* Record::control() const {
    const WindowModel* model = iface->window(window);
    return model && layout ? model->find(layout->name) : nullptr;
}

Record* recordOf(HWND hwnd) {
    auto it = records().find(hwnd);
    return it == records().end() ? nullptr : it->second.get();
}

Record& addRecord(HWND hwnd, Record record) {
    record.hwnd = hwnd;
    auto& slot = records()[hwnd];
    slot = std::make_unique<Record>(std::move(record));
    return *slot;
}

void forgetRecords() {
    records().clear();
}

}  // namespace ui::win32
