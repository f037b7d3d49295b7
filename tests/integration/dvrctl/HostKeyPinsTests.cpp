// dvrctl and the recorders' pinned keys, end to end against dvr-emulator over
// TLS: the first connection pins the key in the settings database, a recorder
// that shows another key is refused with exit 10 and one line naming both
// keys, and --accept-new-key trusts it and goes on.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/servers/HostKeyPin.h"
#include "integration/dvrctl/DvrctlEmulator.h"
#include "integration/dvrctl/DvrctlRun.h"
#include "platform/registry/RegistryHostKeyPins.h"
#include "platform/registry/SqliteRegistry.h"
#include "support/TempDir.h"

namespace {

const RegKeyPath kPins{"Software", "DVR", "HostKeys"};

class HostKeyPinsDvrctlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        emulator = DvrctlEmulator(&error);
        ASSERT_TRUE(emulator) << "dvr-emulator did not start: " << error;
        pinName = HostKeyPinName("127.0.0.1", emulator->Port(kSixteen));
    }

    DvrctlRun Info(bool acceptNewKey = false)
    {
        std::vector<std::string> args = Connection(kSixteen);
        if (acceptNewKey)
            args.push_back("--accept-new-key");
        args.push_back("info");
        return RunDvrctl(args, folder.path());
    }

    // The pin as stored now, read through a connection of our own.
    std::string Pin()
    {
        RegistryOpenResult store = OpenRegistryAt(dbPath);
        EXPECT_TRUE(store.backend) << store.error;
        RegValue value;
        if (!store.backend || store.backend->QueryValue(kPins, pinName, value) != 0)
            return {};
        std::string text(value.data.begin(), value.data.end());
        return text.substr(0, text.find('\0'));
    }

    void StorePin(const std::string& fingerprint)
    {
        RegistryOpenResult store = OpenRegistryAt(dbPath);
        ASSERT_TRUE(store.backend) << store.error;
        RegistryHostKeyPins(store.backend).Trust("127.0.0.1", emulator->Port(kSixteen), fingerprint);
    }

    EmulatorProcess* emulator = nullptr;
    TempDir folder;
    std::string dbPath = folder / "pins.db";
    ScopedEnv registry{"DVR_REGISTRY", dbPath};
    std::string pinName;
};

TEST_F(HostKeyPinsDvrctlTest, FirstUsePinsAChangedKeyExitsTenAndAcceptNewKeyTrustsIt)
{
    DvrctlRun first = Info();
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string real = Pin();
    ASSERT_TRUE(IsHostKeyFingerprint(real)) << real;
    ASSERT_EQ(Info().status, 0);

    // As if the recorder had shown another key before.
    const std::string other = "SHA256:" + std::string(64, 'a');
    ASSERT_NE(real, other);
    StorePin(other);
    DvrctlRun refused = Info();
    EXPECT_EQ(refused.status, 10);
    EXPECT_TRUE(refused.out.empty());
    EXPECT_EQ(refused.err.find('\n'), refused.err.size() - 1) << refused.err;
    EXPECT_NE(refused.err.find(pinName), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("kept " + other), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("shown " + real), std::string::npos) << refused.err;
    EXPECT_EQ(Pin(), other);

    DvrctlRun accepted = Info(true);
    ASSERT_EQ(accepted.status, 0) << accepted.err;
    EXPECT_NE(accepted.out.find("\"mode\""), std::string::npos) << accepted.out;
    EXPECT_EQ(Pin(), real);
    EXPECT_EQ(Info().status, 0);
}

} // namespace
