#include "check/run_check.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "check/page_checks.h"
#include "check/patch_signature_check.h"
#include "check/patch_site_check.h"
#include "check/zone_checks.h"

namespace check {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds slice{50};

// The result of a check running on a thread of its own. The thread owns everything it
// uses, so the result can be left behind unfinished. No std::future: in the Windows build
// one of several futures made ready at the same moment was seen never to become ready.
template <typename Result>
class Pending {
  public:
    template <typename Work>
    explicit Pending(Work work) : state_(std::make_shared<State>()) {
        thread_ = std::thread([state = state_, work = std::move(work)]() mutable {
            Result result = work();
            std::lock_guard lock(state->mutex);
            state->result = std::move(result);
            state->finished = true;
            state->ready.notify_all();
        });
    }
    Pending(Pending&&) = default;
    Pending& operator=(Pending&&) = delete;

    // A thread that has delivered is waited for to its very end: what the system's
    // libraries keep for the thread (the signature check's among them) is freed only
    // then, and must not outlive the process's own end. One still at work is left to it.
    ~Pending() {
        if (!thread_.joinable()) {
            return;
        }
        bool finished = false;
        {
            std::lock_guard lock(state_->mutex);
            finished = state_->finished;
        }
        if (finished) {
            thread_.join();
        } else {
            thread_.detach();
        }
    }

    // The result, or nullopt once the deadline has passed without it.
    std::optional<Result> takeBy(Clock::time_point deadline) {
        std::unique_lock lock(state_->mutex);
        // In short slices rather than one wait to the deadline, so that a wake-up the
        // thread library misses costs a slice and not the rest of the check.
        while (!state_->result && Clock::now() < deadline) {
            state_->ready.wait_for(lock, slice);
        }
        return std::move(state_->result);
    }

  private:
    struct State {
        std::mutex mutex;
        std::condition_variable ready;
        std::optional<Result> result;
        bool finished = false;
    };
    std::shared_ptr<State> state_;
    std::thread thread_;
};

template <typename Work>
auto meanwhile(Work work) {
    return Pending<decltype(work())>(std::move(work));
}

class Waiter {
  public:
    explicit Waiter(Clock::time_point deadline) : deadline_(deadline) {}

    // The result of some work, or nullopt once the deadline has passed without it.
    template <typename Result>
    std::optional<Result> take(Pending<Result>& work) {
        std::optional<Result> result = work.takeBy(deadline_);
        workLeftRunning = workLeftRunning || !result;
        return result;
    }

    CheckResult take(Pending<CheckResult>& work, const std::string& name) {
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

std::vector<std::string> checkNames(bool withPatchKey) {
    std::vector<std::string> names = {"page",  "marker",  "encoding",   "values",
                                      "zone1", "zone2",   "zone3",      "zone4",
                                      "zone5", "version", "serverList", "patchSite"};
    if (withPatchKey) {
        names.push_back("patchSignature");
    }
    return names;
}

CheckRun runCheck(const std::string& operatorHost, std::string_view patchKey, ReportFormat format,
                  const Report::Write& write, std::chrono::milliseconds deadline) {
    Waiter waiter(Clock::now() + deadline);
    Report report(format, checkNames(!patchKey.empty()), write);

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
    std::vector<Pending<CheckResult>> otherZones;
    for (int zone = 2; zone <= 5; ++zone) {
        otherZones.push_back(meanwhile([page, zone] { return checkZone(zone, *page); }));
    }
    auto patchSite = meanwhile([page] { return checkPatchSite(*page); });
    // Beside the patch site rather than after it: the patch itself takes the longest to
    // fetch, and needs no ranges.
    std::optional<Pending<CheckResult>> patchSignature;
    if (!patchKey.empty()) {
        patchSignature.emplace(meanwhile(
            [page, key = std::string(patchKey)] { return checkPatchSignature(*page, key); }));
    }

    auto zone1Result = waiter.take(zone1AndVersion);
    report.add(zone1Result ? zone1Result->first : waiter.tooLate("zone1"));
    for (int zone = 2; zone <= 5; ++zone) {
        report.add(waiter.take(otherZones[zone - 2], "zone" + std::to_string(zone)));
    }
    report.add(zone1Result ? zone1Result->second : waiter.tooLate("version"));
    report.add(waiter.take(serverList, "serverList"));
    report.add(waiter.take(patchSite, "patchSite"));
    if (patchSignature) {
        report.add(waiter.take(*patchSignature, "patchSignature"));
    }
    report.finish();
    return {report.allPassed() ? 0 : 1, waiter.workLeftRunning};
}

}  // namespace check
