#include "core/dvr/NotifyCodes.h"
#include "core/status/RecordingLogChain.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace {

// Records every call as a line and serves what the recorder would.
class RecordingPort : public RecordingLogPort {
public:
    std::vector<std::string> calls;
    std::uint32_t mask = 0;
    RecordingMonth asked;  // a recorder answers for the month last asked
    std::uint32_t logSize = 0;
    std::deque<std::vector<std::uint8_t>> dailyBlocks;
    std::deque<std::vector<std::uint8_t>> logBlocks;
    std::vector<std::uint8_t> daily, log;
    CivilDate calendar{2026, 11, 3};
    bool createLogFails = false;
    bool appendLogFails = false;
    bool marks[32] = {};
    int markCalls = 0;

    bool Called(const std::string& call) const
    {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    int Count(const std::string& call) const
    {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }

    bool RequestMonthProfile(int year, int month) override
    {
        asked = {year, month, 0};
        return note("month " + std::to_string(year) + "-" + std::to_string(month));
    }
    RecordingMonth MonthAnswer() override { return {asked.year, asked.month, mask}; }
    bool RequestDailyProfile(int day, std::uint8_t block) override
    {
        return note("daily " + std::to_string(day) + " " + std::to_string(block));
    }
    std::vector<std::uint8_t> TakeDailyBlock() override { return take(dailyBlocks); }
    bool DownloadLog(const CivilDate& d) override
    {
        return note("download " + std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day));
    }
    std::uint32_t LogSize() override { return logSize; }
    bool RequestLogBlock(std::uint8_t block) override { return note("block " + std::to_string(block)); }
    std::vector<std::uint8_t> TakeLogBlock() override { return take(logBlocks); }
    void StopPoll() override { note("stop poll"); }
    void RestartPoll() override { note("restart poll"); }
    bool CreateDailyFile() override
    {
        daily.clear();
        return note("create daily");
    }
    bool AppendDailyFile(const std::vector<std::uint8_t>& b) override
    {
        daily.insert(daily.end(), b.begin(), b.end());
        return true;
    }
    void CloseDailyFile() override { note("close daily"); }
    bool CreateLogFile(const CivilDate&) override
    {
        log.clear();
        note("create log");
        return !createLogFails;
    }
    bool AppendLogFile(const std::vector<std::uint8_t>& b) override
    {
        if (appendLogFails)
            return false;
        log.insert(log.end(), b.begin(), b.end());
        return true;
    }
    void CloseLogFile(bool keep) override { note(keep ? "keep log" : "remove log"); }
    void ArmProfileTimer() override { note("arm 260"); }
    void ClearEntries() override { note("clear entries"); }
    void UncheckFilters() override { note("uncheck"); }
    void ClearMarks() override
    {
        std::fill(std::begin(marks), std::end(marks), false);
        note("clear marks");
    }
    void SetMark(int day, bool on) override
    {
        marks[day] = on;
        markCalls += on;
    }
    void SelectDay(int day) override { note("select " + std::to_string(day)); }
    std::optional<CivilDate> CalendarDate() override { return calendar; }
    void LogProgress(std::uint32_t received, std::uint32_t total) override
    {
        note("progress " + std::to_string(received) + "/" + std::to_string(total));
    }
    void LogReceived(const CivilDate&) override { note("received"); }
    void LogNotFound() override { note("not found"); }
    void LogBroken(const std::string& reason) override { note("broken: " + reason); }

private:
    bool note(std::string call)
    {
        calls.push_back(std::move(call));
        return true;
    }
    static std::vector<std::uint8_t> take(std::deque<std::vector<std::uint8_t>>& q)
    {
        if (q.empty())
            return {};
        auto front = q.front();
        q.pop_front();
        return front;
    }
};

constexpr std::uint32_t Bit(int day)
{
    return 1u << (day - 1);
}

class ChainTest : public ::testing::Test {
protected:
    RecordingPort port;
    RecordingLogChain chain{port};

    // Month shown, timer 260, then 124 with the port's mask.
    void ShowMonth()
    {
        chain.OnMonthShown(port.calendar);
        chain.OnProfileTimer();
        chain.OnNotify(kNotifyMonthProfileReady);
    }
    // The daily profile in two blocks.
    void FinishDaily()
    {
        port.dailyBlocks = {{1, 2}, {3}};
        chain.OnNotify(kNotifyDailyProfileBlock);
        chain.OnNotify(kNotifyDailyProfileLastBlock);
    }
};

TEST_F(ChainTest, ARecordingMonthMarksItsDaysFetchesTheDailyProfileAndThenTheDaysLog)
{
    port.mask = Bit(3) | Bit(17) | Bit(31) | 0x80000000u;  // bit 31 names no day
    ShowMonth();
    EXPECT_TRUE(port.Called("arm 260"));
    EXPECT_TRUE(port.Called("month 2026-11"));
    EXPECT_EQ(port.markCalls, 3);
    EXPECT_TRUE(port.marks[3] && port.marks[17] && port.marks[31]);
    EXPECT_FALSE(port.marks[1]);
    EXPECT_TRUE(port.Called("daily 3 0"));

    port.calls.clear();
    FinishDaily();
    EXPECT_EQ(port.daily, (std::vector<std::uint8_t>{1, 2, 3}));
    // Block numbers go on from the daily transfer: 0 and 1 there, 2 here.
    EXPECT_EQ(port.calls, (std::vector<std::string>{"daily 3 1", "close daily", "restart poll", "stop poll",
                                                    "create log", "download 2026-11-3"}));
    EXPECT_EQ(chain.Sequence(), 2);

    port.calls.clear();
    port.logSize = 20;
    port.logBlocks = {std::vector<std::uint8_t>(16, 7), std::vector<std::uint8_t>(4, 9)};
    chain.OnNotify(kNotifyLogFound);
    chain.OnNotify(kNotifyLogBlock);
    chain.OnNotify(kNotifyLogLastBlock);
    EXPECT_EQ(port.calls, (std::vector<std::string>{"progress 0/20", "block 2", "progress 16/20", "block 3",
                                                    "progress 20/20", "keep log", "restart poll", "received"}));
    EXPECT_EQ(port.log.size(), 20u);
    EXPECT_FALSE(chain.LogTransferRunning());
}

TEST_F(ChainTest, RepeatedNotificationsAreHarmless)
{
    port.mask = Bit(3);
    ShowMonth();
    chain.OnNotify(kNotifyMonthProfileReady);
    EXPECT_EQ(port.markCalls, 1);
    EXPECT_EQ(port.Count("daily 3 0"), 1);
    EXPECT_EQ(port.Count("clear marks"), 1);

    FinishDaily();
    chain.OnNotify(kNotifyDailyProfileLastBlock);
    EXPECT_EQ(port.Count("download 2026-11-3"), 1);
    // A log answer nobody asked for, or a second one, changes nothing.
    port.calls.clear();
    chain.OnNotify(kNotifyLogNotFound);
    chain.OnNotify(kNotifyLogNotFound);
    EXPECT_EQ(port.Count("not found"), 1);
    EXPECT_EQ(port.Count("remove log"), 1);
    chain.OnNotify(kNotifyLogLastBlock);
    chain.OnNotify(kNotifyLogFound);
    EXPECT_EQ(port.calls.size(), 3u);  // remove log, restart poll, not found
}

TEST_F(ChainTest, AMonthWithoutRecordingsFetchesNothingAndKeepsThePickedDay)
{
    port.mask = 0;
    ShowMonth();
    EXPECT_EQ(port.markCalls, 0);
    EXPECT_TRUE(port.Called("clear marks"));
    EXPECT_FALSE(port.Called("create daily"));
    EXPECT_TRUE(chain.MonthlyDone());

    port.calls.clear();
    chain.OnDayPicked({2026, 11, 20});
    EXPECT_EQ(port.calls, (std::vector<std::string>{"select 3"}));
    // Stray profile answers do not start anything either.
    chain.OnNotify(kNotifyDailyProfileLastBlock);
    EXPECT_FALSE(port.Called("stop poll"));
}

TEST_F(ChainTest, PickingDaysFetchesOnlyRecordingDays)
{
    port.mask = Bit(3) | Bit(5);
    ShowMonth();
    FinishDaily();
    chain.OnNotify(kNotifyLogNotFound);

    port.calls.clear();
    chain.OnDayPicked({2026, 11, 4});  // no recordings that day
    EXPECT_EQ(port.calls, (std::vector<std::string>{"uncheck"}));
    EXPECT_EQ(chain.Date(), (CivilDate{2026, 11, 4}));

    port.calls.clear();
    port.calendar = {2026, 11, 5};
    chain.OnDayPicked(port.calendar);
    EXPECT_EQ(port.calls, (std::vector<std::string>{"uncheck", "clear entries", "arm 260"}));
    chain.OnProfileTimer();
    chain.OnNotify(kNotifyMonthProfileReady);
    EXPECT_TRUE(port.Called("daily 5 0"));
    FinishDaily();
    EXPECT_TRUE(port.Called("download 2026-11-5"));
}

TEST_F(ChainTest, ALateAnswerForAMonthLeftBehindMarksNothingAndTheShownMonthsAnswerStillCounts)
{
    // November is asked for; the operator turns to October before it is answered.
    chain.OnMonthShown({2026, 11, 3});
    chain.OnProfileTimer();
    port.calendar = {2026, 10, 3};
    chain.OnMonthShown(port.calendar);
    port.mask = Bit(3);
    for (RecordingMonth late : {RecordingMonth{2026, 11}, RecordingMonth{2025, 10}}) {
        port.asked = late;
        chain.OnNotify(kNotifyMonthProfileReady);
    }
    EXPECT_FALSE(port.Called("clear marks"));
    EXPECT_EQ(port.markCalls, 0);
    EXPECT_FALSE(port.Called("create daily"));
    EXPECT_FALSE(chain.MonthlyDone());

    chain.OnProfileTimer();
    port.mask = Bit(8);
    chain.OnNotify(kNotifyMonthProfileReady);
    EXPECT_TRUE(chain.MonthlyDone());
    EXPECT_TRUE(port.marks[8]);
    EXPECT_FALSE(port.marks[3]);
    EXPECT_TRUE(port.Called("daily 3 0"));
}

TEST_F(ChainTest, ALogInAsksForItsMonthAtOnceAndRemembersWhichMonthThatWas)
{
    EXPECT_FALSE(chain.HasMonth(port.calendar));
    port.mask = Bit(3);
    chain.OnSessionReady(port.calendar);
    // No timer 260 in between: the month is asked for straight away.
    EXPECT_EQ(port.calls, (std::vector<std::string>{"clear entries", "month 2026-11"}));
    EXPECT_TRUE(chain.HasMonth({2026, 11, 20}));
    EXPECT_FALSE(chain.HasMonth({2026, 12, 3}));
    EXPECT_FALSE(chain.HasMonth({2025, 11, 3}));
    chain.OnNotify(kNotifyMonthProfileReady);
    FinishDaily();
    EXPECT_TRUE(port.Called("download 2026-11-3"));
    EXPECT_TRUE(chain.HasMonth(port.calendar));

    // Another month shown is not known until timer 260 has asked for it.
    chain.OnMonthShown({2026, 10, 3});
    EXPECT_FALSE(chain.HasMonth({2026, 10, 3}));
    chain.OnProfileTimer();
    EXPECT_TRUE(chain.HasMonth({2026, 10, 3}));
    // A lost session forgets it.
    chain.OnSessionLost();
    EXPECT_FALSE(chain.HasMonth({2026, 10, 3}));
}

TEST_F(ChainTest, BeforeTheMonthIsKnownAPickWaits)
{
    chain.OnDayPicked({2026, 11, 4});
    EXPECT_TRUE(port.calls.empty());
}

TEST_F(ChainTest, TransfersThatEndBadlyLeaveNoFileAndPollAgain)
{
    port.mask = Bit(3);
    ShowMonth();
    FinishDaily();

    // Fewer bytes than announced: the file must not pass for the whole log.
    port.logSize = 32;
    port.logBlocks = {std::vector<std::uint8_t>(16, 1)};
    chain.OnNotify(kNotifyLogFound);
    port.calls.clear();
    chain.OnNotify(kNotifyLogLastBlock);
    EXPECT_EQ(port.calls, (std::vector<std::string>{"progress 16/32", "remove log", "restart poll",
                                                    "broken: the recorder sent 16 of 32 bytes"}));

    // The link goes while blocks come in.
    chain.OnMonthShown(port.calendar);
    chain.OnNotify(kNotifyMonthProfileReady);
    FinishDaily();
    chain.OnNotify(kNotifyLogFound);
    port.calls.clear();
    chain.OnSessionLost();
    EXPECT_EQ(port.calls, (std::vector<std::string>{"remove log", "broken: the link to the recorder was lost"}));
    EXPECT_FALSE(chain.LogTransferRunning());

    // Another recorder is chosen: this one is polled again.
    chain.OnMonthShown(port.calendar);
    chain.OnNotify(kNotifyMonthProfileReady);
    FinishDaily();
    port.calls.clear();
    chain.OnSessionLeft();
    EXPECT_EQ(port.calls, (std::vector<std::string>{"remove log", "restart poll", "broken: another recorder was chosen"}));

    // A disk that refuses the bytes.
    chain.OnMonthShown(port.calendar);
    chain.OnNotify(kNotifyMonthProfileReady);
    FinishDaily();
    chain.OnNotify(kNotifyLogFound);
    port.appendLogFails = true;
    port.logBlocks = {std::vector<std::uint8_t>(16, 1)};
    port.calls.clear();
    chain.OnNotify(kNotifyLogBlock);
    EXPECT_EQ(port.calls, (std::vector<std::string>{"remove log", "restart poll",
                                                    "broken: the log file could not be written"}));

    // A file that cannot be created: nothing is asked of the recorder.
    port.createLogFails = true;
    chain.OnMonthShown(port.calendar);
    chain.OnNotify(kNotifyMonthProfileReady);
    port.calls.clear();
    FinishDaily();
    EXPECT_FALSE(port.Called("download 2026-11-3"));
    EXPECT_EQ(port.calls.back(), "broken: the log file could not be created");
    EXPECT_EQ(port.Count("restart poll"), 2);
}

TEST_F(ChainTest, TheSequenceByteWrapsAfter255)
{
    port.mask = Bit(3);
    ShowMonth();
    for (int i = 0; i < 254; ++i)
        chain.OnNotify(kNotifyDailyProfileBlock);
    chain.OnNotify(kNotifyDailyProfileLastBlock);
    EXPECT_EQ(chain.Sequence(), 255);
    port.logSize = 32;
    port.logBlocks = {std::vector<std::uint8_t>(16), std::vector<std::uint8_t>(16)};
    chain.OnNotify(kNotifyLogFound);
    chain.OnNotify(kNotifyLogBlock);
    EXPECT_TRUE(port.Called("block 255"));
    EXPECT_TRUE(port.Called("block 0"));
}

} // namespace
