#include "check/run_check.h"

#include <array>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "check/page_checks.h"
#include "check/patch_site_check.h"
#include "check/zone_checks.h"

namespace check {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds slice{50};

// A check on a thread of its own. Unlike std::async's, its future can be left behind
// unfinished: the work owns everything it uses.
template <typename Work>
auto meanwhile(Work work) {
    std::packaged_task task(std::move(work));
    auto future = task.get_future();
    std::thread(std::move(task)).detach();
    return future;
}

class Waiter {
  public:
    explicit Waiter(Clock::time_point deadline) : deadline_(deadline) {}

    // The result of some work, or nullopt once the deadline has passed without it.
    template <typename Result>
    std::optional<Result> take(std::future<Result>& work) {
        // In short slices rather than one wait to the deadline, so that a wake-up the
        // thread library misses costs a slice and not the rest of the check.
        while (work.wait_for(slice) != std::future_status::ready) {
            if (Clock::now() >= deadline_) {
                workLeftRunning = true;
                return std::nullopt;
            }
        }
        return work.get();
    }

    CheckResult take(std::future<CheckResult>& work, const std::string& name) {
        if (auto result = take(work)) {
            return *result;
        }
        return tooLate(name);
    }

    CheckResult tooLate(const std::string& name) const {
        auto seconds = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - started_);
        return failed(name, "no result within " + std::to_string(seconds.count()) + " s");
    }

    bool workLeftRunning = false;

  private:
    Clock::time_point started_ = Clock::now();
    Clock::time_point deadline_;
};

// The findings when the page has not even been fetched by the deadline.
PageFindings pageTooLate(const Waiter& waiter) {
    PageFindings findings;
    findings.results.push_back(waiter.tooLate("page"));
    findings.noValuesBecause = "no page (see page)";
    for (const char* name : {"marker", "encoding", "values"}) {
        findings.results.push_back(notChecked(name, findings.noValuesBecause));
    }
    return findings;
}

}  // namespace

const std::vector<std::string>& checkNames() {
    static const std::vector<std::string> names = {"page",  "marker",  "encoding",   "values",
                                                   "zone1", "zone2",   "zone3",      "zone4",
                                                   "zone5", "version", "serverList", "patchSite"};
    return names;
}

CheckRun runCheck(const std::string& operatorHost, ReportFormat format, const Report::Write& write,
                  std::chrono::milliseconds deadline) {
    Waiter waiter(Clock::now() + deadline);
    Report report(format, checkNames(), write);

    // Every check waits on a server of its own, so they wait side by side: the whole check
    // lasts as long as the slowest of them, not as long as all of them together.
    auto pageWork = meanwhile([operatorHost] { return checkConfigPage(operatorHost); });
    std::optional<PageFindings> fetched = waiter.take(pageWork);
    auto page =
        std::make_shared<const PageFindings>(fetched ? std::move(*fetched) : pageTooLate(waiter));
    for (const CheckResult& result : page->results) {
        report.add(result);
    }

    // Page fetches take turns, so the server list waits for the page rather than the
    // other way round.
    auto serverList = meanwhile([operatorHost] { return checkServerList(operatorHost); });
    auto zone1AndVersion = meanwhile([page] {
        CheckResult zone1 = checkZone(1, *page);
        CheckResult version = checkVersion(*page, zone1);
        return std::pair{zone1, version};
    });
    std::array<std::future<CheckResult>, 4> otherZones;
    for (int zone = 2; zone <= 5; ++zone) {
        otherZones[zone - 2] = meanwhile([page, zone] { return checkZone(zone, *page); });
    }
    auto patchSite = meanwhile([page] { return checkPatchSite(*page); });

    auto zone1Result = waiter.take(zone1AndVersion);
    report.add(zone1Result ? zone1Result->first : waiter.tooLate("zone1"));
    for (int zone = 2; zone <= 5; ++zone) {
        report.add(waiter.take(otherZones[zone - 2], "zone" + std::to_string(zone)));
    }
    report.add(zone1Result ? zone1Result->second : waiter.tooLate("version"));
    report.add(waiter.take(serverList, "serverList"));
    report.add(waiter.take(patchSite, "patchSite"));
    // A build that carries the key of signed patches adds "patchSignature" here, after
    // "patchSite" whose address it shares.
    report.finish();
    return {report.allPassed() ? 0 : 1, waiter.workLeftRunning};
}

}  // namespace check
