// Parsing a large board reply into list rows: 200,000 cell records, half of them
// row-starting records with a hover tip, as a busy zone's level board might send.
#include <benchmark/benchmark.h>

#include "account/list_content.h"
#include "account/server_reply.h"
#include "platform/encoding.h"
#include "support/cell_record.h"

namespace {

constexpr int recordCount = 200'000;

std::string bigBoardContent() {
    std::string content;
    std::string name = gbk("灯笼鱼玩家");
    std::string tip = gbk("所在帮派：翔岳");
    for (int i = 0; i < recordCount / 2; ++i) {
        content += testing_support::cellRecord(0, name + std::to_string(i), tip, 0, i);
        content += testing_support::cellRecord(1, std::to_string(1000000 - i));
    }
    return content;
}

void ParseIntoRows(benchmark::State& state) {
    std::string content = bigBoardContent();
    for (auto _ : state) {
        auto rows = account::parseListContent(content);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * recordCount);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(content.size()));
}
BENCHMARK(ParseIntoRows)->Unit(benchmark::kMillisecond);

// The whole path of an arrival up to the rows: dispatch by tag, copy of the content
// into its slot, parse.
struct FillOnly : account::ReplyActions {
    std::string slot;
    std::size_t rows = 0;
    void boardReply(int, std::string content) override {
        rows = account::parseListContent(content).size();
        slot = std::move(content);
    }
    void statusReply(account::ReplyCode) override {}
};

void DispatchAndParse(benchmark::State& state) {
    std::string reply = "DJ" + bigBoardContent();
    FillOnly fill;
    for (auto _ : state) {
        account::onServerReply(reply, fill);
        benchmark::DoNotOptimize(fill.rows);
    }
    state.SetItemsProcessed(state.iterations() * recordCount);
}
BENCHMARK(DispatchAndParse)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
