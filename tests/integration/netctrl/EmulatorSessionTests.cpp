// The library against real dvr-emulator recorders on loopback: every call,
// every notification, both media transports and each fault the emulator injects.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include "support/processes/EmulatorProcess.h"
#include "LiveUnitCollector.h"
#include "NotificationLog.h"
#include "support/processes/ProcessResources.h"
#include "support/processes/FreePort.h"
#include "core/dvr/DiscoveryRecord.h"
#include "core/dvr/NotifyCodes.h"
#include "core/dvr/SettingsBlock.h"
#include "platform/netctrl/MemoryHostKeyPins.h"
#include "platform/netctrl/ZERDNetwork.h"
#include "platform/nettls/TlsIdentity.h"

using namespace std::chrono_literals;

namespace {

enum Recorder {
    kNormal,
    kRejectLogins,
    kStopPolls,
    kDisconnectAfter,
    kOtherVersion,
    kRefuseOperations,
    kOneSession,
    kRefuseConnections,
    kBadFragments,
    kSlow,
    kDropAfterFrames,
    kTamperedDatagrams,
    kRecorderCount
};

class EmulatorSessionTest : public ::testing::Test {
public:
    static void SetUpTestSuite()
    {
        setenv("OMBREL_NET_TIMEOUT_MS", "1500", 1);
        std::vector<std::vector<std::string>> options(kRecorderCount);
        options[kNormal] = {"--max-sessions", "20"};
        options[kRejectLogins] = {"--reject-logins"};
        options[kStopPolls] = {"--stop-polls-after", "0"};
        options[kDisconnectAfter] = {"--disconnect-after", "1"};
        options[kOtherVersion] = {"--wire-version", "1"};
        options[kRefuseOperations] = {"--refuse-op", "settings", "--refuse-op", "log"};
        options[kOneSession] = {"--max-sessions", "1"};
        options[kRefuseConnections] = {"--refuse-connections"};
        options[kBadFragments] = {"--drop-fragments", "20", "--reorder-fragments", "10", "--corrupt-fragments", "10"};
        options[kSlow] = {"--delay", "300"};
        options[kDropAfterFrames] = {"--drop-after-frames", "6"};
        options[kTamperedDatagrams] = {"--tamper-datagrams", "10", "--repeat-datagrams", "10"};
        std::vector<EmulatorProcess::Recorder> recorders;
        for (auto& o : options)
            recorders.push_back({"MODEL_C", o});
        s_discoveryPort = FreeUdpPort();
        s_emulator = std::make_unique<EmulatorProcess>();
        if (!s_emulator->Start(recorders, {"--discovery-port", std::to_string(s_discoveryPort)})) {
            s_startError = s_emulator->Error();
            s_emulator.reset();
        }
    }
    static void TearDownTestSuite() { s_emulator.reset(); }

protected:
    void SetUp() override
    {
        ASSERT_TRUE(s_emulator) << "dvr-emulator did not start: " << s_startError;
    }

    static bool Create(CZERDNetwork& net, NotificationLog& log, Recorder recorder, bool tcpMedia = true)
    {
        std::string host = "127.0.0.1";
        return net.Create(host.data(), static_cast<short>(s_emulator->Port(recorder)), tcpMedia, kMsgNetworkNotify,
                          log.Handle(), 0);
    }

    static bool Open(CZERDNetwork& net, NotificationLog& log, Recorder recorder, const char* account = "ADMIN",
                     const char* password = "5829", bool tcpMedia = true)
    {
        if (!Create(net, log, recorder, tcpMedia))
            return false;
        std::string a = account;
        std::string p = password;
        net.SessionOpen(a.data(), p.data());
        return true;
    }

    static bool OpenLoggedIn(CZERDNetwork& net, NotificationLog& log, Recorder recorder, bool tcpMedia = true)
    {
        return Open(net, log, recorder, "ADMIN", "5829", tcpMedia) && log.WaitFor(net.SessionId(), kNotifyLoggedOnAdmin);
    }

    // One session opened and closed first, so that helper threads the
    // runtime starts lazily are not counted against the library.
    void WarmUp()
    {
        CZERDNetwork net;
        OpenLoggedIn(net, log, kNormal);
    }

    static std::unique_ptr<EmulatorProcess> s_emulator;
    static std::uint16_t s_discoveryPort;
    static std::string s_startError;
    NotificationLog log;
};

std::unique_ptr<EmulatorProcess> EmulatorSessionTest::s_emulator;
std::uint16_t EmulatorSessionTest::s_discoveryPort = 0;
std::string EmulatorSessionTest::s_startError;

TEST_F(EmulatorSessionTest, AccountsLogInWithTheirModes)
{
    struct Case {
        const char* account;
        const char* password;
        int code;
    } cases[] = {{"ADMIN", "5829", kNotifyLoggedOnAdmin},
                 {"GUEST0", "5829", kNotifyLoggedOnUser},
                 {"GUEST1", "5829", kNotifyLoggedOnUser},
                 {"ADMIN", "5830", kNotifyWrongPassword},
                 {"admin", "5829", kNotifyUnknownAccount},
                 {"NOBODY", "5829", kNotifyUnknownAccount}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.account) + "/" + c.password);
        CZERDNetwork net;
        ASSERT_TRUE(Open(net, log, kNormal, c.account, c.password));
        EXPECT_TRUE(log.WaitFor(net.SessionId(), c.code));
        std::vector<int> codes = log.Codes(net.SessionId());
        EXPECT_EQ(codes.size(), 1u) << "one outcome per log-in";
    }
}

TEST_F(EmulatorSessionTest, SettingsMasksSectionWritesAndSerialBytes)
{
    CZERDNetwork net;
    ASSERT_TRUE(OpenLoggedIn(net, log, kNormal));
    unsigned char bytes[] = {0xFF, 0x01, 0x00, 0x04, 0x20, 0x00, 0x25, 0x61, 0x61, 0x02};
    ASSERT_TRUE(net.PutSerialPortData(bytes, sizeof bytes));
    ASSERT_TRUE(net.GetDVRInfo()); // answered in order: the serial bytes were taken before
    ASSERT_TRUE(log.WaitFor(net.SessionId(), kNotifySettingsReceived));
    ZERD_INFO_BLK block = net.GetReceivedDVRInfo();
    EXPECT_EQ(block.system.dvrTypeCode, 3);
    EXPECT_EQ(NetworkPort(block), s_emulator->Port(kNormal));
    ASSERT_TRUE(log.WaitFor(net.SessionId(), kNotifyMasksChanged));
    EXPECT_EQ(net.GetVideoChannelMask(), 0xFFFF);

    std::size_t mark = log.Size();
    block.system.recorderId = 42;
    ASSERT_TRUE(net.SetDVRInfo(&block.system, kSectionSystem));
    ASSERT_TRUE(log.WaitFor(net.SessionId(), kNotifySettingsWritten, 5s, mark));
    mark = log.Size();
    ASSERT_TRUE(net.GetDVRInfo());
    ASSERT_TRUE(log.WaitFor(net.SessionId(), kNotifySettingsReceived, 5s, mark));
    EXPECT_EQ(net.GetReceivedDVRInfo().system.recorderId, 42);

    mark = log.Size();
    block.system.language = 9; // out of range
    ASSERT_TRUE(net.SetDVRInfo(&block.system, kSectionSystem));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifySettingsWriteFailed, 5s, mark));
    block.system.language = 0;
    block.system.recorderId = 0;
    ASSERT_TRUE(net.SetDVRInfo(&block.system, kSectionSystem));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifySettingsWritten, 5s, mark));

    std::ifstream serial(s_emulator->DataDir() + "/rec0/serial.log");
    std::string text((std::istreambuf_iterator<char>(serial)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("ff 01 00 04 20 00 25 61 61 02"), std::string::npos) << text;
}

class LiveTransportTest : public EmulatorSessionTest, public ::testing::WithParamInterface<bool> {};

TEST_P(LiveTransportTest, WholeUnitsWithTheirStreamIdsArrive)
{
    bool tcpMedia = GetParam();
    LiveUnitCollector units; // outlives the session that calls into it
    CZERDNetwork net;
    ASSERT_TRUE(OpenLoggedIn(net, log, kNormal, tcpMedia));
    ASSERT_TRUE(net.GetDVRInfo());
    ASSERT_TRUE(log.WaitFor(net.SessionId(), kNotifyMasksChanged));
    unsigned short audio = net.GetAudioChannelMask() & 1;
    net.SetPacketLiveMediaCallback(&LiveUnitCollector::Callback, &units);
    ASSERT_TRUE(net.LiveMediaControl(0b0101, audio));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyLiveStarted));
    std::vector<int> ids = {0xE0, 0xE2};
    if (audio)
        ids.push_back(0xC0);
    EXPECT_TRUE(units.WaitForUnits(ids, 8, 10s));
    std::map<int, int> seen = units.Units();
    for (const auto& [id, count] : seen)
        EXPECT_TRUE(std::find(ids.begin(), ids.end(), id) != ids.end()) << "unrequested stream " << id;
    EXPECT_EQ(units.Malformed(), 0);

    // Stopping: the flow ends soon after.
    ASSERT_TRUE(net.LiveMediaControl(0, 0));
    std::this_thread::sleep_for(300ms);
    int stopped = units.Packets();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(units.Packets(), stopped);
    net.SetPacketLiveMediaCallback(nullptr, nullptr);
}

TEST_P(LiveTransportTest, DamagedFragmentsNeverStopTheSession)
{
    LiveUnitCollector units; // outlives the session that calls into it
    CZERDNetwork net;
    ASSERT_TRUE(OpenLoggedIn(net, log, kBadFragments, GetParam()));
    net.SetPacketLiveMediaCallback(&LiveUnitCollector::Callback, &units);
    ASSERT_TRUE(net.LiveMediaControl(0xFFFF, 0));
    // Small units fit one fragment, so some always arrive whole.
    EXPECT_TRUE(units.WaitForUnits(std::vector<int>{0xE0}, 3, 10s));
    net.SessionPoll();
    std::vector<int> codes = log.Codes(net.SessionId());
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kNotifyLinkClosed), 0);
}

const auto kTransportName = [](const auto& info) { return info.param ? "Tcp" : "Udp"; };
INSTANTIATE_TEST_SUITE_P(Transports, LiveTransportTest, ::testing::Values(true, false), kTransportName);

TEST_F(EmulatorSessionTest, TamperedAndRepeatedDatagramsAreDroppedCountedAndNeverDelivered)
{
    LiveUnitCollector units; // outlives the session that calls into it
    CZERDNetwork net;
    ASSERT_TRUE(OpenLoggedIn(net, log, kTamperedDatagrams, false));
    net.SetPacketLiveMediaCallback(&LiveUnitCollector::Callback, &units);
    ASSERT_TRUE(net.LiveMediaControl(0b11, 0));
    EXPECT_TRUE(units.WaitForUnits(std::vector<int>{0xE0, 0xE1}, 25, 10s));
    EXPECT_EQ(units.Malformed(), 0) << "a damaged fragment reached the callback";
    const netauth::DroppedDatagrams dropped = net.GetDroppedDatagrams();
    EXPECT_GT(dropped.unauthentic, 0u);
    EXPECT_GT(dropped.replayed, 0u);
    net.SetPacketLiveMediaCallback(nullptr, nullptr);
}

TEST_F(EmulatorSessionTest, DailyProfileAndLogDownloadInBlocks)
{
    CZERDNetwork net;
    ASSERT_TRUE(OpenLoggedIn(net, log, kNormal));
    ASSERT_TRUE(net.GetRecordingProfile_Monthley(2026, 11));
    ASSERT_TRUE(log.WaitFor(net.SessionId(), kNotifyMonthProfileReady));
    unsigned mask = net.GetRecordingMonthleyProfile_Data();
    ASSERT_NE(mask, 0u);
    int day = 1;
    while (!(mask & (1u << (day - 1))))
        ++day;
    // Waits for the answer to a block request; false when neither came.
    auto blockArrived = [&](std::size_t mark, int more, int last, bool& wasLast) {
        wasLast = !log.WaitFor(net.SessionId(), more, 300ms, mark);
        return !wasLast || log.WaitFor(net.SessionId(), last, 5s, mark);
    };

    std::size_t profileBytes = 0;
    bool last = false;
    for (unsigned char block = 0; block < 200 && !last; ++block) {
        std::size_t mark = log.Size();
        ASSERT_TRUE(net.GetRecordingProfile_Daily(static_cast<unsigned char>(day), block));
        ASSERT_TRUE(blockArrived(mark, kNotifyDailyProfileBlock, kNotifyDailyProfileLastBlock, last));
        int length = 0;
        net.GetRecordingDailyProfile_Data(length);
        profileBytes += static_cast<std::size_t>(length);
    }
    EXPECT_GT(profileBytes, 0u);

    // The caller's sequence byte is whatever the profile transfer left.
    unsigned char sequence = 9;
    std::size_t mark = log.Size();
    ASSERT_TRUE(net.DownloadLOG(2026, 11, static_cast<unsigned char>(day)));
    ASSERT_TRUE(log.WaitFor(net.SessionId(), kNotifyLogFound, 5s, mark));
    unsigned total = net.GetLogFileSize();
    EXPECT_GT(total, 0u);
    EXPECT_EQ(total % 16, 0u);
    std::vector<unsigned char> file;
    last = false;
    for (int guard = 0; guard < 300 && !last; ++guard) {
        mark = log.Size();
        ASSERT_TRUE(net.GetLOGFileBlock(sequence++));
        ASSERT_TRUE(blockArrived(mark, kNotifyLogBlock, kNotifyLogLastBlock, last));
        int length = 0;
        unsigned char* data = net.GetLOGFileChunkData(length);
        file.insert(file.end(), data, data + length);
    }
    EXPECT_EQ(file.size(), total);

    mark = log.Size();
    ASSERT_TRUE(net.DownloadLOG(2026, 2, 30));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyLogNotFound, 5s, mark));
}

TEST_F(EmulatorSessionTest, UploadStoresTheWholeFile)
{
    CZERDNetwork net;
    ASSERT_TRUE(OpenLoggedIn(net, log, kNormal));
    // Exactly two chunks: the upload ends with an empty last chunk.
    std::vector<unsigned char> content(1024);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<unsigned char>(i * 31);
    char name[] = "/some/folder/logo.bmp ";
    std::size_t mark = log.Size();
    ASSERT_TRUE(net.Fileupload(name, content.size()));
    ASSERT_TRUE(log.WaitFor(net.SessionId(), kNotifyUploadReady, 5s, mark));
    for (unsigned char sequence = 0; sequence < 3; ++sequence) {
        mark = log.Size();
        bool last = sequence == 2;
        ASSERT_TRUE(net.WriteFileChunk(last ? nullptr : content.data() + sequence * 512, last ? 0 : 512, sequence,
                                       last ? 1 : 0));
        ASSERT_TRUE(log.WaitFor(net.SessionId(), kNotifyUploadChunkAccepted, 5s, mark));
    }
    std::ifstream stored(s_emulator->DataDir() + "/rec0/uploads/logo.bmp", std::ios::binary);
    std::vector<unsigned char> got((std::istreambuf_iterator<char>(stored)), std::istreambuf_iterator<char>());
    EXPECT_EQ(got, content);

    // A chunk out of order fails the upload.
    mark = log.Size();
    ASSERT_TRUE(net.Fileupload(name, 600));
    ASSERT_TRUE(log.WaitFor(net.SessionId(), kNotifyUploadReady, 5s, mark));
    ASSERT_TRUE(net.WriteFileChunk(content.data(), 512, 5, 0));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyUploadFailed, 5s, mark));
    char dots[] = "..";
    mark = log.Size();
    ASSERT_TRUE(net.Fileupload(dots, 5));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyUploadFailed, 5s, mark));
}

TEST_F(EmulatorSessionTest, InjectedFaultsArriveAsNotifications)
{
    struct Case {
        Recorder recorder;
        int code;
    } cases[] = {{kRejectLogins, kNotifyWrongPassword},
                 {kStopPolls, kNotifyPollTimeout},
                 {kDisconnectAfter, kNotifyLinkClosed},
                 {kOtherVersion, kNotifyVersionMismatch},
                 {kDropAfterFrames, kNotifyLinkClosed}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.recorder);
        CZERDNetwork net;
        ASSERT_TRUE(Open(net, log, c.recorder));
        auto started = std::chrono::steady_clock::now();
        for (int i = 0; i < 8 && !log.WaitFor(net.SessionId(), c.code, 500ms); ++i) {
            net.SessionPoll();
            net.GetDVRInfo();
        }
        EXPECT_TRUE(log.WaitFor(net.SessionId(), c.code, 10ms));
        EXPECT_LT(std::chrono::steady_clock::now() - started, 4s) << "reported within a few seconds";
        EXPECT_FALSE(net.SessionPoll());
    }
}

TEST_F(EmulatorSessionTest, RefusedConnectionsAndSessionLimits)
{
    CZERDNetwork refused;
    if (Create(refused, log, kRefuseConnections)) {
        EXPECT_TRUE(log.WaitFor(refused.SessionId(), kNotifyLinkClosed, 5s));
    }

    CZERDNetwork first;
    CZERDNetwork second;
    ASSERT_TRUE(OpenLoggedIn(first, log, kOneSession));
    ASSERT_TRUE(Open(second, log, kOneSession));
    EXPECT_TRUE(log.WaitFor(second.SessionId(), kNotifyTooManySessions));
    // The refused session did not disturb the first one.
    ASSERT_TRUE(first.GetDVRInfo());
    EXPECT_TRUE(log.WaitFor(first.SessionId(), kNotifySettingsReceived));

    std::uint16_t closedPort = FreeTcpPort();
    std::string host = "127.0.0.1";
    CZERDNetwork nobody;
    EXPECT_FALSE(nobody.Create(host.data(), static_cast<short>(closedPort), true, kMsgNetworkNotify, log.Handle(), 0));
}

TEST_F(EmulatorSessionTest, UnsupportedOperationsAreRefusedAndTheSessionGoesOn)
{
    CZERDNetwork net;
    ASSERT_TRUE(OpenLoggedIn(net, log, kRefuseOperations));
    std::size_t mark = log.Size();
    ASSERT_TRUE(net.GetDVRInfo());
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyOperationRefused, 5s, mark));
    mark = log.Size();
    ASSERT_TRUE(net.DownloadLOG(2026, 11, 3));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyOperationRefused, 5s, mark));
    mark = log.Size();
    ASSERT_TRUE(net.GetRecordingProfile_Monthley(2026, 11));
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifyMonthProfileReady, 5s, mark));
}

TEST_F(EmulatorSessionTest, ASlowRecorderWithinTheLimitIsNoFault)
{
    CZERDNetwork net;
    ASSERT_TRUE(OpenLoggedIn(net, log, kSlow));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(net.SessionPoll());
    ASSERT_TRUE(net.GetDVRInfo());
    EXPECT_TRUE(log.WaitFor(net.SessionId(), kNotifySettingsReceived, 5s));
    std::vector<int> codes = log.Codes(net.SessionId());
    EXPECT_EQ(std::count(codes.begin(), codes.end(), kNotifyPollTimeout), 0);
}

TEST_F(EmulatorSessionTest, SixteenSessionsWorkAtOnceAndGiveEverythingBack)
{
    WarmUp();
    int threadsBefore = ThreadCount();
    int fdsBefore = OpenFdCount();
    {
        std::vector<std::unique_ptr<LiveUnitCollector>> units; // outlive the sessions
        std::vector<CZERDNetwork> sessions(16);
        for (std::size_t i = 0; i < sessions.size(); ++i) {
            units.push_back(std::make_unique<LiveUnitCollector>());
            ASSERT_TRUE(Open(sessions[i], log, kNormal, "ADMIN", "5829", i % 2 == 0));
        }
        for (std::size_t i = 0; i < sessions.size(); ++i) {
            ASSERT_TRUE(log.WaitFor(sessions[i].SessionId(), kNotifyLoggedOnAdmin));
            sessions[i].SetPacketLiveMediaCallback(&LiveUnitCollector::Callback, units[i].get());
            ASSERT_TRUE(sessions[i].LiveMediaControl(static_cast<unsigned short>(1u << i), 0));
        }
        for (std::size_t i = 0; i < sessions.size(); ++i) {
            int id = 0xE0 + static_cast<int>(i);
            EXPECT_TRUE(units[i]->WaitForUnits(std::vector<int>{id}, 5, 10s)) << "session " << i;
            EXPECT_EQ(units[i]->Units().size(), 1u) << "session " << i << " got another session's camera";
        }
        // The notifications of each went to its own identity only.
        std::set<WPARAM> identities;
        for (const auto& entry : log.Messages())
            identities.insert(entry.wParam);
        for (auto& session : sessions)
            EXPECT_TRUE(identities.count(session.SessionId()));
        // The viewer's order at its end.
        for (auto& session : sessions) {
            session.SetPacketLiveMediaCallback(nullptr, nullptr);
            session.LiveMediaControl(0, 0);
            session.Destroy();
            session.SessionClose();
        }
        EXPECT_EQ(ThreadCount(), threadsBefore);
        EXPECT_EQ(OpenFdCount(), fdsBefore);
    }
}

TEST_F(EmulatorSessionTest, CloseWithoutDestroyAndDestructionReleaseToo)
{
    WarmUp();
    int threadsBefore = ThreadCount();
    int fdsBefore = OpenFdCount();
    {
        CZERDNetwork a;
        CZERDNetwork b;
        ASSERT_TRUE(OpenLoggedIn(a, log, kNormal, false));
        ASSERT_TRUE(OpenLoggedIn(b, log, kNormal, true));
        EXPECT_GT(ThreadCount(), threadsBefore);
        a.SessionClose(); // without Destroy
        EXPECT_FALSE(a.SessionPoll());
        // b goes out of scope while connected.
    }
    EXPECT_EQ(ThreadCount(), threadsBefore);
    EXPECT_EQ(OpenFdCount(), fdsBefore);
}

TEST_F(EmulatorSessionTest, ScanFindsEveryRecorderOfTheProcess)
{
    setenv("DVR_SCAN_TARGETS", ("127.0.0.1:" + std::to_string(s_discoveryPort) + ", 10.1.2.3:7060,bogus").c_str(), 1);
    ASSERT_TRUE(StartUnicastChannelMonitoring());
    ASSERT_TRUE(SetNotifyWindow(kMsgDiscoveryRecord, log.Handle()));
    ASSERT_TRUE(ZERDScan());
    std::set<std::uint16_t> ports;
    for (auto deadline = std::chrono::steady_clock::now() + 3s;
         ports.size() < kRecorderCount && std::chrono::steady_clock::now() < deadline;) {
        std::this_thread::sleep_for(20ms);
        for (const auto& entry : log.Messages()) {
            if (entry.id != kMsgDiscoveryRecord)
                continue;
            EXPECT_EQ(entry.wParam, sizeof(ZERD_INFO_BLK));
            auto* record = reinterpret_cast<ZERD_INFO_BLK*>(entry.lParam);
            auto decoded = DecodeDiscoveryRecord(reinterpret_cast<const std::uint8_t*>(record), sizeof *record);
            if (decoded)
                ports.insert(decoded->port);
        }
    }
    ASSERT_TRUE(StopUnicastChannelMonitoring());
    for (const auto& entry : log.Messages())
        if (entry.id == kMsgDiscoveryRecord)
            delete reinterpret_cast<ZERD_INFO_BLK*>(entry.lParam);
    for (int r = 0; r < kRecorderCount; ++r)
        EXPECT_TRUE(ports.count(s_emulator->Port(static_cast<std::size_t>(r)))) << "recorder " << r;
    unsetenv("DVR_SCAN_TARGETS");
}

} // namespace

TEST_F(EmulatorSessionTest, ARecorderWithAnotherKeyIsRefusedUntilTheNewKeyIsTrusted)
{
    EmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({{"MODEL_C", {}}}, {"--discovery-port", "0"})) << emulator.Error();
    auto pins = std::make_shared<MemoryHostKeyPins>();
    CZERDNetwork::SetHostKeyVerifier(pins);
    std::string host = "127.0.0.1";
    const auto port = static_cast<short>(emulator.Port());
    auto connect = [&](CZERDNetwork& net) {
        char account[] = "ADMIN";
        char password[] = "5829";
        return net.Create(host.data(), port, true, kMsgNetworkNotify, log.Handle(), 0)
            && net.SessionOpen(account, password);
    };
    const std::string keyFile = emulator.DataDir() + "/rec0/tls-identity.pem";
    auto fingerprintOnDisk = [&] {
        std::ifstream in(keyFile);
        std::string error;
        auto identity = nettls::TlsIdentity::FromPem(
            std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), "x", &error);
        return identity ? identity->Fingerprint() : error;
    };

    CZERDNetwork first;
    ASSERT_TRUE(connect(first));
    ASSERT_TRUE(log.WaitFor(first.SessionId(), kNotifyLoggedOnAdmin)) << "the first meeting pins the key";
    EXPECT_TRUE(first.GetPresentedKeyFingerprint().empty());
    first.Destroy();
    first.SessionClose();
    const std::string original = fingerprintOnDisk();

    // The recorder comes back on the same port with a key of its own making.
    std::filesystem::remove(keyFile);
    ASSERT_TRUE(emulator.Restart()) << emulator.Error();
    const std::string renewed = fingerprintOnDisk();
    ASSERT_NE(renewed, original);
    CZERDNetwork second;
    ASSERT_TRUE(connect(second));
    EXPECT_TRUE(log.WaitFor(second.SessionId(), kNotifyHostKeyChanged));
    EXPECT_EQ(log.Codes(second.SessionId()), std::vector<int>{kNotifyHostKeyChanged}) << "no log-in after 135";
    EXPECT_EQ(second.GetPresentedKeyFingerprint(), renewed);
    EXPECT_EQ(second.GetPinnedKeyFingerprint(), original);
    EXPECT_FALSE(second.SessionPoll()) << "the link has ended";

    // The operator's consent: trusted from now on.
    pins->Trust(host, static_cast<std::uint16_t>(port), second.GetPresentedKeyFingerprint());
    CZERDNetwork third;
    ASSERT_TRUE(connect(third));
    EXPECT_TRUE(log.WaitFor(third.SessionId(), kNotifyLoggedOnAdmin));
    EXPECT_TRUE(third.GetPinnedKeyFingerprint().empty());
    CZERDNetwork::SetHostKeyVerifier(nullptr);
}
