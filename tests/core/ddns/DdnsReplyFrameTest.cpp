#include "core/ddns/DdnsReplyFrame.h"

#include <gtest/gtest.h>

#include <string>

using namespace ddns;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Header, then each field as type, length, value.
Bytes Payload(std::initializer_list<std::pair<std::uint8_t, Bytes>> fields)
{
    Bytes payload{0x00, 0x00, 0x00};
    for (const auto& [type, value] : fields) {
        payload.push_back(type);
        payload.push_back(static_cast<std::uint8_t>(value.size()));
        payload.insert(payload.end(), value.begin(), value.end());
    }
    return payload;
}

Bytes Zt(const std::string& text)
{
    Bytes value = Text(text);
    value.push_back(0);
    return value;
}

}  // namespace

TEST(DdnsReplyPayload, EmptyFirstAddressMeansNotRegistered)
{
    EXPECT_EQ(ParseReplyPayload(Bytes{0x00, 0x00, 0x00, 0x01, 0x00}).kind, Reply::Kind::NotRegistered);
    // Whatever follows, and whatever the header holds.
    EXPECT_EQ(ParseReplyPayload(Bytes{0x07, 0x08, 0x09, 0x01, 0x00, 0x02, 0x02, '1', '2'}).kind,
              Reply::Kind::NotRegistered);
    // After a port field, an empty address says the same.
    EXPECT_EQ(ParseReplyPayload(Payload({{2, Text("1B8A")}, {1, {}}})).kind, Reply::Kind::NotRegistered);
}

TEST(DdnsReplyPayload, AddressAndHexPortInEitherOrder)
{
    const Reply addressFirst = ParseReplyPayload(Payload({{1, Zt("10.1.2.3")}, {2, Text("1B8A")}}));
    EXPECT_EQ(addressFirst.kind, Reply::Kind::Resolved);
    EXPECT_EQ(addressFirst.address, "10.1.2.3");
    EXPECT_EQ(addressFirst.port, 7050);

    const Reply portFirst = ParseReplyPayload(Payload({{2, Text("1b8a")}, {1, Zt("192.168.100.254")}}));
    EXPECT_EQ(portFirst.kind, Reply::Kind::Resolved);
    EXPECT_EQ(portFirst.address, "192.168.100.254");
    EXPECT_EQ(portFirst.port, 7050);
}

TEST(DdnsReplyPayload, AddressFieldDropsItsLastByteWhateverItIs)
{
    Bytes value = Text("10.1.2.3");
    value.push_back('X');
    const Reply reply = ParseReplyPayload(Payload({{1, value}, {2, Text("50")}}));
    EXPECT_EQ(reply.kind, Reply::Kind::Resolved);
    EXPECT_EQ(reply.address, "10.1.2.3");
    EXPECT_EQ(reply.port, 0x50);
}

TEST(DdnsReplyPayload, OtherFieldTypesAndTrailingBytesAreSkipped)
{
    Bytes payload = Payload({{7, Text("junk")}, {1, Zt("1.2.3.4")}});
    const Reply noPort = ParseReplyPayload(payload);
    EXPECT_EQ(noPort.kind, Reply::Kind::Resolved);
    EXPECT_EQ(noPort.address, "1.2.3.4");
    EXPECT_EQ(noPort.port, 0) << "no port field: the caller keeps its own port";

    payload = Payload({{1, Zt("1.2.3.4")}, {2, Text("FFFF")}});
    payload.insert(payload.end(), {0x02, 0x01, 'Z', 0x33});
    const Reply trailing = ParseReplyPayload(payload);
    EXPECT_EQ(trailing.kind, Reply::Kind::Resolved);
    EXPECT_EQ(trailing.port, 0xFFFF);
}

TEST(DdnsReplyPayload, FieldLengthsRunningPastThePayloadAreMalformed)
{
    const Bytes good = Payload({{1, Zt("10.1.2.3")}, {2, Text("1B8A")}});
    // Cut at every point inside the fields: each cut leaves a field whose
    // length or header runs past the end, except right after the first field.
    const std::size_t afterFirst = 3 + 2 + 9;
    for (std::size_t size = 0; size < good.size(); ++size) {
        const Reply reply = ParseReplyPayload(std::span(good.data(), size));
        if (size == afterFirst) {
            EXPECT_EQ(reply.kind, Reply::Kind::Resolved);
            EXPECT_EQ(reply.port, 0);
        } else {
            EXPECT_EQ(reply.kind, Reply::Kind::Malformed) << "size " << size;
        }
    }
    // A length byte of 255 with a few bytes behind it.
    EXPECT_EQ(ParseReplyPayload(Bytes{0, 0, 0, 1, 0xFF, '1', '.', '2'}).kind, Reply::Kind::Malformed);
    EXPECT_EQ(ParseReplyPayload(Bytes{0, 0, 0, 2, 0x04, '1', 'B', '8', 'A', 1, 0x09, '1'}).kind,
              Reply::Kind::Malformed);
}

TEST(DdnsReplyPayload, AddressMustBeDottedIpv4AndPortSixteenBitHex)
{
    for (const char* bad : {"", "10.1.2", "10.1.2.3.4", "256.1.2.3", "1.2.3.", ".1.2.3", "1..2.3", "a.b.c.d",
                            "1.2.3.4 ", " 1.2.3.4", "1.2.3.0004", "dvr.example"}) {
        EXPECT_EQ(ParseReplyPayload(Payload({{1, Zt(bad)}, {2, Text("50")}})).kind, Reply::Kind::Malformed) << bad;
    }
    Bytes embeddedZero = Text("1.2.3.4");
    embeddedZero.insert(embeddedZero.end(), {0x00, '5', 0x00});
    EXPECT_EQ(ParseReplyPayload(Payload({{1, embeddedZero}})).kind, Reply::Kind::Malformed);

    for (const char* bad : {"", "10000", "1G", "0x50", " 50", "-1", "123456789"}) {
        EXPECT_EQ(ParseReplyPayload(Payload({{1, Zt("1.2.3.4")}, {2, Text(bad)}})).kind, Reply::Kind::Malformed)
            << bad;
    }
    EXPECT_EQ(ParseReplyPayload(Payload({{1, Zt("0.0.0.0")}, {2, Text("0000FFFF")}})).port, 0xFFFF);
    EXPECT_EQ(ParseReplyPayload(Payload({{2, Text("1B8A")}})).kind, Reply::Kind::Malformed) << "no address";
}

TEST(DdnsReplyBuild, FramesTheFieldsAndRefusesWhatCannotBeFramed)
{
    const auto frame = BuildResolvedReply("10.1.2.3", 7050);
    ASSERT_TRUE(frame);
    const Bytes expected = [] {
        Bytes b{0xAF};
        const Bytes p = Payload({{1, Zt("10.1.2.3")}, {2, Text("1B8A")}});
        b.insert(b.end(), p.begin(), p.end());
        b.push_back(0xCE);
        return b;
    }();
    EXPECT_EQ(*frame, expected);
    EXPECT_EQ(BuildNotRegisteredReply(), (Bytes{0xAF, 0, 0, 0, 1, 0, 0xCE}));

    EXPECT_FALSE(BuildReplyFrame(std::vector<ReplyField>{{1, Bytes(256, '1')}}));
    // 0xCE as a length byte (206-byte value) would end the frame early.
    EXPECT_FALSE(BuildReplyFrame(std::vector<ReplyField>{{1, Bytes(0xCE, '1')}}));
    EXPECT_FALSE(BuildReplyFrame(std::vector<ReplyField>{{1, Bytes{'1', 0xAF}}}));
    const std::uint8_t markerHeader[3] = {0, 0xCE, 0};
    EXPECT_FALSE(BuildReplyFrame(std::vector<ReplyField>{}, std::span<const std::uint8_t, 3>(markerHeader)));
}
