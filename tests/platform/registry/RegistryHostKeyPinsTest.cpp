// Recorders' key pins in a real settings database.
#include "core/config/RegConfig.h"
#include "core/servers/HostKeyPin.h"
#include "platform/registry/RegistryHostKeyPins.h"

#include "TempRegistry.h"

#include <gtest/gtest.h>

#include <latch>
#include <thread>

namespace {

using Verdict = HostKeyVerifier::Verdict;

std::string Fingerprint(char digit)
{
    return "SHA256:" + std::string(64, digit);
}

const RegKeyPath kPins{"Software", "DVR", "HostKeys"};

std::vector<std::uint8_t> Sz(const std::string& text)
{
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

class RegistryHostKeyPinsTest : public TempRegistryTest {
protected:
    RegValue Stored(const std::string& name)
    {
        RegValue value;
        EXPECT_EQ(m_store->QueryValue(kPins, name, value), regerr::Success) << name;
        return value;
    }
    void Store(const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data)
    {
        ASSERT_EQ(m_store->Apply({MakeEdit(RegEdit::Kind::CreateKey, kPins),
                                  RegEdit{RegEdit::Kind::SetValue, kPins, name, type, std::move(data)}}),
                  regerr::Success);
    }
};

TEST_F(RegistryHostKeyPinsTest, FirstKeyIsPinnedPerAddressAndPortAndOnlyTrustReplacesIt)
{
    RegistryHostKeyPins pins(m_store);
    const std::string a = Fingerprint('a');
    const std::string b = Fingerprint('b');
    std::string kept = "untouched";
    EXPECT_EQ(pins.Check("127.0.0.1", 7050, a, &kept), Verdict::Trusted);
    EXPECT_EQ(kept, "untouched");
    const RegValue value = Stored("127.0.0.1:7050");
    EXPECT_EQ(value.type, REG_SZ);
    EXPECT_EQ(value.data, Sz(a));
    EXPECT_EQ(pins.Check("127.0.0.1", 7050, a, &kept), Verdict::Trusted);

    EXPECT_EQ(pins.Check("127.0.0.1", 7050, b, &kept), Verdict::Changed);
    EXPECT_EQ(kept, a);
    EXPECT_EQ(Stored("127.0.0.1:7050").data, Sz(a));

    // Another port or another address is another recorder.
    EXPECT_EQ(pins.Check("127.0.0.1", 7051, b, &kept), Verdict::Trusted);
    EXPECT_EQ(pins.Check("127.0.0.2", 7050, b, &kept), Verdict::Trusted);
    EXPECT_EQ(pins.Check("127.0.0.1", 7050, b, &kept), Verdict::Changed);

    pins.Trust("127.0.0.1", 7050, b);
    EXPECT_EQ(pins.Check("127.0.0.1", 7050, b, &kept), Verdict::Trusted);
    EXPECT_EQ(pins.Check("127.0.0.1", 7050, a, &kept), Verdict::Changed);
    EXPECT_EQ(kept, b);

    // Another program on the same database (dvrctl beside the viewer) knows them.
    RegistryOpenResult other = OpenRegistryAt(m_dbPath);
    ASSERT_TRUE(other.backend) << other.error;
    RegistryHostKeyPins otherPins(other.backend);
    EXPECT_EQ(otherPins.Check("127.0.0.1", 7050, a, &kept), Verdict::Changed);
    EXPECT_EQ(otherPins.Check("127.0.0.2", 7050, b, &kept), Verdict::Trusted);
}

TEST_F(RegistryHostKeyPinsTest, DamagedPinAsksTheOperatorAndIsNeverReplacedUnasked)
{
    const std::string a = Fingerprint('a');
    const std::string upper = "SHA256:" + std::string(64, 'A');
    const std::string shortHex = "SHA256:" + std::string(63, 'a');
    struct Damage {
        std::string name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        std::string kept;
    };
    const Damage cases[] = {
        {"127.0.0.1:1", REG_SZ, Sz(upper), upper},
        {"127.0.0.1:2", REG_SZ, Sz(shortHex), shortHex},
        {"127.0.0.1:3", REG_SZ, Sz(""), ""},
        {"127.0.0.1:4", REG_SZ, Sz(a + "0"), a + "0"},
        // The right text, but not stored as a text.
        {"127.0.0.1:5", REG_BINARY, Sz(a), a},
    };
    RegistryHostKeyPins pins(m_store);
    for (const Damage& damage : cases) {
        Store(damage.name, damage.type, damage.data);
        const std::uint16_t port = static_cast<std::uint16_t>(std::stoi(damage.name.substr(10)));
        std::string kept;
        EXPECT_EQ(pins.Check("127.0.0.1", port, a, &kept), Verdict::Changed) << damage.name;
        EXPECT_EQ(kept, damage.kept) << damage.name;
        EXPECT_EQ(Stored(damage.name).data, damage.data) << damage.name;
    }

    // Nothing that is not a fingerprint becomes a pin.
    pins.Trust("127.0.0.1", 1, "SHA256:zz");
    EXPECT_EQ(Stored("127.0.0.1:1").data, Sz(upper));
    EXPECT_EQ(pins.Check("127.0.0.1", 9, upper, nullptr), Verdict::Changed);
    RegValue none;
    EXPECT_EQ(m_store->QueryValue(kPins, "127.0.0.1:9", none), regerr::FileNotFound);
    pins.Trust("127.0.0.1", 1, a);
    EXPECT_EQ(pins.Check("127.0.0.1", 1, a, nullptr), Verdict::Trusted);
}

TEST_F(RegistryHostKeyPinsTest, SessionsMeetingANewRecorderAtOnceAgreeOnOneKey)
{
    // Verifiers of their own, as two programs' worth of sessions in one
    // process would hold; each thread meets the same recorders in the same
    // order with its own key, so first uses keep colliding.
    constexpr int kThreads = 3;
    constexpr int kRecorders = 300;
    std::vector<std::vector<Verdict>> verdicts(kThreads, std::vector<Verdict>(kRecorders));
    std::latch start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            RegistryHostKeyPins pins(m_store);
            start.arrive_and_wait();
            for (int r = 0; r < kRecorders; ++r)
                verdicts[t][r] = pins.Check("127.0.0.1", static_cast<std::uint16_t>(8000 + r), Fingerprint('a' + t),
                                            nullptr);
        });
    for (auto& thread : threads)
        thread.join();
    for (int r = 0; r < kRecorders; ++r) {
        int trusted = -1;
        for (int t = 0; t < kThreads; ++t)
            if (verdicts[t][r] == Verdict::Trusted) {
                EXPECT_EQ(trusted, -1) << "recorder " << r << ": two keys trusted";
                trusted = t;
            }
        ASSERT_NE(trusted, -1) << "recorder " << r;
        EXPECT_EQ(Stored(HostKeyPinName("127.0.0.1", static_cast<std::uint16_t>(8000 + r))).data,
                  Sz(Fingerprint('a' + trusted)));
    }
}

} // namespace
