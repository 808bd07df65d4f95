#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "core/wire/discovery_datagram.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(std::string_view text, std::size_t width) {
    Bytes value(width, 0);
    std::memcpy(value.data(), text.data(), std::min(width, text.size()));
    return value;
}

// Request bytes written out by hand: the magic, then each item as type, length, value.
class Expected {
public:
    Expected() : m_bytes(DISCOVERY_DATAGRAM_SIZE, 0) { std::memcpy(m_bytes.data(), "RZ880", 5); }
    Expected& Item(uint8_t type, const Bytes& value) {
        m_bytes[m_end++] = type;
        m_bytes[m_end++] = static_cast<uint8_t>(value.size());
        for (uint8_t byte : value) {
            m_bytes[m_end++] = byte;
        }
        return *this;
    }
    const Bytes& bytes() const { return m_bytes; }
    std::size_t end() const { return m_end; }

private:
    Bytes m_bytes;
    std::size_t m_end = 5;
};

Bytes Sent(const DiscoveryDatagram& datagram) {
    return Bytes(datagram.bytes, datagram.bytes + sizeof datagram.bytes);
}

TEST(QueryRequest, MatchesTheOffsetTableByteForByte) {
    struct Row {
        std::size_t offset;
        uint8_t type;
        uint8_t length;
    };
    const Row rows[] = {{5, 32, 16}, {23, 16, 6},  {31, 33, 16}, {49, 17, 4},
                        {55, 18, 4}, {61, 19, 4},  {67, 20, 5},  {74, 31, 4},
                        {80, 48, 2}, {84, 34, 64}, {150, 35, 16}};
    Bytes expected(256, 0);
    std::memcpy(expected.data(), "RZ880", 5);
    std::size_t end = 5;
    for (const Row& row : rows) {
        ASSERT_EQ(row.offset, end) << "rows must follow one another";
        expected[row.offset] = row.type;
        expected[row.offset + 1] = row.length;
        end = row.offset + 2 + row.length;
    }
    ASSERT_EQ(end, 168u);

    DiscoveryDatagram datagram;
    std::memset(datagram.bytes, 0xAA, sizeof datagram.bytes);
    BuildQueryRequest(datagram);
    EXPECT_EQ(sizeof datagram.bytes, 256u);
    EXPECT_EQ(Sent(datagram), expected);
    EXPECT_EQ(RequestContentLength(datagram), 168u);
}

const Bytes TARGET_MAC = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
const Bytes STATIC_MODE = {0xFF, 0xFF, 0xFF, 0xFF};

class SetRequest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearTable(*table);
        DeviceRecord& slot = table->slot[254]; // a STATIC device as a reply left it
        slot.id = 255;
        std::memcpy(slot.mac, TARGET_MAC.data(), 6);
        SetFieldText(slot.name, "Door");
        SetFieldText(slot.ip, "192.168.1.10");
        SetFieldText(slot.netmask, "255.255.255.0");
        SetFieldText(slot.gateway, "192.168.1.1");
        slot.httpPort = 80;
        std::memset(slot.netMode, 0xFF, 4);
        values.mac = "001a2b3c4d5e";
        values.name = "Door";
        values.ip = "192.168.1.10";
        values.netmask = "255.255.255.0";
        values.gateway = "192.168.1.1";
        values.httpPort = "80";
    }
    Bytes Build() {
        DiscoveryDatagram datagram;
        std::memset(datagram.bytes, 0xAA, sizeof datagram.bytes);
        BuildSetRequest(datagram, *table, values);
        content = RequestContentLength(datagram);
        return Sent(datagram);
    }
    // A request that carries nothing but the target and the given mode.
    Bytes Unchanged(const Bytes& mode = STATIC_MODE) {
        return Expected().Item(ITEM_MAC, TARGET_MAC).Item(ITEM_NET_MODE, mode).bytes();
    }

    std::unique_ptr<DeviceTable> table = std::make_unique<DeviceTable>();
    ChangeValues values;
    std::size_t content = 0;
};

TEST_F(SetRequest, NothingChangedCarriesTargetAndMode) {
    EXPECT_EQ(Build(), Unchanged());
    EXPECT_EQ(content, 19u);
}

TEST_F(SetRequest, NameOnlyChangeOfAStaticDevice) {
    values.name = "Front";
    const Expected expected = Expected()
                                  .Item(ITEM_MAC, TARGET_MAC)
                                  .Item(ITEM_NAME, Text("Front", 16))
                                  .Item(ITEM_NET_MODE, STATIC_MODE);
    EXPECT_EQ(Build(), expected.bytes());
    EXPECT_EQ(content, 37u);
    EXPECT_EQ(expected.end(), 37u);
}

TEST_F(SetRequest, ModeBytesFollowTheRadios) {
    values.mode = NetMode::Pppoe;
    EXPECT_EQ(Build(), Unchanged({0x01, 0xFF, 0xFF, 0xFF}));
    values.mode = NetMode::Dhcp;
    EXPECT_EQ(Build(), Unchanged({0xFF, 0xFF, 0x01, 0xFF}));
}

TEST_F(SetRequest, PortIsComparedAsANumberAndSentAsTheText) {
    values.httpPort = "0080";
    EXPECT_EQ(Build(), Unchanged());

    values.httpPort = "81x";
    EXPECT_EQ(Build(), Expected()
                           .Item(ITEM_MAC, TARGET_MAC)
                           .Item(ITEM_HTTP_PORT, {'8', '1', 'x', 0, 0})
                           .Item(ITEM_NET_MODE, STATIC_MODE)
                           .bytes());

    values.httpPort = "99999999999999999999"; // far beyond any int: differs, cut to 5
    EXPECT_EQ(Build(), Expected()
                           .Item(ITEM_MAC, TARGET_MAC)
                           .Item(ITEM_HTTP_PORT, Text("99999", 5))
                           .Item(ITEM_NET_MODE, STATIC_MODE)
                           .bytes());
}

TEST_F(SetRequest, SecondMacOnlyForAValidDifferentAddress) {
    for (const char* text :
         {"001a2b3c4d5", "001a2b3c4d5e0", "001a2b3c4d5f0", "001A2B3C4D5E", "001a2b3c4d5z"}) {
        values.newMac = text;
        EXPECT_EQ(Build(), Unchanged()) << text;
    }
    values.newMac = "0011223344AA";
    EXPECT_EQ(Build(), Expected()
                           .Item(ITEM_MAC, TARGET_MAC)
                           .Item(ITEM_MAC, {0x00, 0x11, 0x22, 0x33, 0x44, 0xAA})
                           .Item(ITEM_NET_MODE, STATIC_MODE)
                           .bytes());
}

TEST_F(SetRequest, NoMatchingSlotGivesTheBareMagic) {
    for (const char* caption : {"001a2b3c4d5f", "001A2B3C4D5E", ""}) {
        values.mac = caption;
        values.name = "Front";
        EXPECT_EQ(Build(), Expected().bytes()) << caption;
        EXPECT_EQ(content, 5u);
    }
}

TEST_F(SetRequest, EveryChangeInItsFixedOrderAndTextsCutToWidth) {
    values.newMac = "0011223344aa";
    values.name = std::string(20, 'n');
    values.pppoeAccount = std::string(300, 'a');
    values.pppoePassword = "secret";
    values.ip = "10.0.0.5";
    values.netmask = "255.0.0.0";
    values.gateway = "10.0.0.1";
    values.httpPort = "8080";
    values.mode = NetMode::Pppoe;
    const Expected expected = Expected()
                                  .Item(ITEM_MAC, TARGET_MAC)
                                  .Item(ITEM_MAC, {0x00, 0x11, 0x22, 0x33, 0x44, 0xaa})
                                  .Item(ITEM_NAME, Bytes(16, 'n'))
                                  .Item(ITEM_PPPOE_ACCOUNT, Bytes(64, 'a'))
                                  .Item(ITEM_PPPOE_PASSWORD, Text("secret", 16))
                                  .Item(ITEM_IP, {10, 0, 0, 5})
                                  .Item(ITEM_NETMASK, {255, 0, 0, 0})
                                  .Item(ITEM_GATEWAY, {10, 0, 0, 1})
                                  .Item(ITEM_HTTP_PORT, Text("8080", 5))
                                  .Item(ITEM_NET_MODE, {0x01, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(Build(), expected.bytes());
    EXPECT_EQ(content, 154u);
}

TEST(TextDiffers, LengthFirstThenCaseSensitiveBytes) {
    EXPECT_FALSE(TextDiffers("Door", "Door"));
    EXPECT_FALSE(TextDiffers("", std::string_view{}));
    EXPECT_TRUE(TextDiffers("Door", "door"));
    EXPECT_TRUE(TextDiffers("", "Door"));
    EXPECT_TRUE(TextDiffers("Door", "Door "));
    EXPECT_TRUE(TextDiffers(std::string_view("a\0b", 3), std::string_view("a\0c", 3)));
}

// Reply bytes; ParseReply gets an exactly sized copy, so a read past the end is caught by
// the address sanitizer.
class Reply {
public:
    Reply() : m_bytes{'R', 'Z', '8', '8', '0'} {}
    Reply& Item(uint8_t type, const Bytes& value) {
        return Raw({type, static_cast<uint8_t>(value.size())}).Raw(value);
    }
    Reply& Raw(const Bytes& bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    std::size_t size() const { return m_bytes.size(); }
    bool Parse(DeviceRecord& record, std::size_t length) const {
        const auto copy = std::make_unique<uint8_t[]>(length);
        std::memcpy(copy.get(), m_bytes.data(), length);
        return ParseReply(copy.get(), length, record);
    }
    DeviceRecord Parsed() const {
        DeviceRecord record;
        std::memset(&record, 0x5A, sizeof record);
        EXPECT_TRUE(Parse(record, size()));
        return record;
    }

private:
    Bytes m_bytes;
};

// Byte for byte, padding included: ParseReply starts from a zeroed record.
bool IsZero(const DeviceRecord& record) {
    DeviceRecord zero;
    std::memset(&zero, 0, sizeof zero);
    return std::memcmp(&record, &zero, sizeof record) == 0;
}

TEST(ParseReply, StoresEveryKnownItem) {
    const DeviceRecord record = Reply()
                                    .Item(ITEM_MAC, TARGET_MAC)
                                    .Item(ITEM_IP, {192, 168, 1, 10})
                                    .Item(ITEM_NETMASK, {255, 255, 255, 0})
                                    .Item(ITEM_GATEWAY, {192, 168, 1, 1})
                                    .Item(ITEM_HTTP_PORT, {0xFF, 0xFF})
                                    .Item(ITEM_NET_MODE, {0xFF, 0xFF, 0x01, 0xFF})
                                    .Item(ITEM_NAME, Text("Door", 16))
                                    .Item(ITEM_VERSION, Bytes(16, 'v'))
                                    .Item(ITEM_PPPOE_ACCOUNT, Text("user", 64))
                                    .Item(ITEM_PPPOE_PASSWORD, Text("pw", 16))
                                    .Item(ITEM_READ_ONLY, {0x00, 0x01})
                                    .Parsed();
    EXPECT_EQ(record.id, 0);
    EXPECT_EQ(Bytes(record.mac, record.mac + 6), TARGET_MAC);
    EXPECT_EQ(FieldText(record.ip), "192.168.1.10");
    EXPECT_EQ(FieldText(record.netmask), "255.255.255.0");
    EXPECT_EQ(FieldText(record.gateway), "192.168.1.1");
    EXPECT_EQ(record.httpPort, 65535);
    EXPECT_EQ(Bytes(record.netMode, record.netMode + 4), Bytes({0xFF, 0xFF, 0x01, 0xFF}));
    EXPECT_EQ(FieldText(record.name), "Door");
    EXPECT_EQ(FieldText(record.version), std::string(16, 'v'));
    EXPECT_EQ(FieldText(record.pppoeAccount), "user");
    EXPECT_EQ(FieldText(record.pppoePassword), "pw");
    EXPECT_EQ(record.readOnly, 1);
}

TEST(ParseReply, PortIsLittleEndian) {
    EXPECT_EQ(Reply().Item(ITEM_HTTP_PORT, {0x50, 0x00}).Parsed().httpPort, 80);
    EXPECT_EQ(Reply().Item(ITEM_HTTP_PORT, {0x00, 0x50}).Parsed().httpPort, 80 * 256);
}

TEST(ParseReply, ReadOnlyOnlyFromZeroOneAndNeverCleared) {
    EXPECT_EQ(Reply().Item(ITEM_READ_ONLY, {0x00, 0x01}).Parsed().readOnly, 1);
    for (const Bytes& other :
         {Bytes{0x01, 0x00}, Bytes{0x00, 0x02}, Bytes{0x00, 0x00}, Bytes{0x01, 0x01}}) {
        EXPECT_EQ(Reply().Item(ITEM_READ_ONLY, other).Parsed().readOnly, 0);
    }
    EXPECT_EQ(Reply()
                  .Item(ITEM_READ_ONLY, {0x00, 0x01})
                  .Item(ITEM_READ_ONLY, {0x00, 0x00})
                  .Parsed()
                  .readOnly,
              1);
}

TEST(ParseReply, EmptyRepliesGiveAnAllZeroRecord) {
    EXPECT_TRUE(IsZero(Reply().Parsed()));
    // A type byte of 0 ends the items even when more follow.
    EXPECT_TRUE(IsZero(Reply().Raw({0x00, 0x00}).Item(ITEM_NAME, Text("x", 16)).Parsed()));
    // No mode item: the mode bytes stay 00 00 00 00.
    const DeviceRecord named = Reply().Item(ITEM_NAME, Text("x", 16)).Parsed();
    EXPECT_EQ(Bytes(named.netMode, named.netMode + 4), Bytes(4, 0));
}

TEST(ParseReply, UnknownTypesAndLengthsStepForward) {
    // Type 21, L = 3: the next item starts 5 bytes later.
    EXPECT_EQ(FieldText(Reply().Item(21, {1, 2, 3}).Item(ITEM_NAME, Text("a", 16)).Parsed().name),
              "a");
    // L = 0 still moves on, and L = 255 (or 0xF0) moves forward, never back.
    EXPECT_EQ(FieldText(Reply().Item(0x55, {}).Item(ITEM_NAME, Text("b", 16)).Parsed().name), "b");
    EXPECT_EQ(
        FieldText(
            Reply().Item(0x55, Bytes(255, 0x20)).Item(ITEM_NAME, Text("c", 16)).Parsed().name),
        "c");
    EXPECT_EQ(
        FieldText(
            Reply().Item(0x55, Bytes(0xF0, 0x20)).Item(ITEM_NAME, Text("d", 16)).Parsed().name),
        "d");
}

TEST(ParseReply, ValuesTakeTheirFixedWidthWhateverTheLengthByte) {
    // The MAC is read as 6 bytes although L says 2; the next item starts after those 2.
    const DeviceRecord record =
        Reply().Item(ITEM_MAC, {1, 2}).Item(ITEM_NAME, Text("cam", 16)).Parsed();
    EXPECT_EQ(Bytes(record.mac, record.mac + 6), Bytes({1, 2, ITEM_NAME, 16, 'c', 'a'}));
    EXPECT_EQ(FieldText(record.name), "cam");
}

TEST(ParseReply, NameTouchesNoOtherField) {
    const DeviceRecord record = Reply()
                                    .Item(ITEM_VERSION, Text("V2.3", 16))
                                    .Item(ITEM_NAME, Bytes(16, 'n'))
                                    .Item(ITEM_NAME, Bytes(16, 'N'))
                                    .Parsed();
    EXPECT_EQ(FieldText(record.version), "V2.3");
    EXPECT_EQ(FieldText(record.name), std::string(16, 'N'));
    EXPECT_EQ(record.name[16], '\0');
}

TEST(ParseReply, ShortOrForeignDatagramsLeaveTheRecordAlone) {
    const Bytes foreign[] = {{},
                             {'R'},
                             {'R', 'Z', '8', '8'},
                             {'R', 'Z', '8', '8', '1', 0x20, 1},
                             {'r', 'z', '8', '8', '0'}};
    for (const Bytes& bytes : foreign) {
        DeviceRecord record;
        std::memset(&record, 0x5A, sizeof record);
        const DeviceRecord before = record;
        const auto copy = std::make_unique<uint8_t[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), copy.get());
        EXPECT_FALSE(ParseReply(copy.get(), bytes.size(), record));
        EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    }
}

TEST(ParseReply, TruncatedAtEveryByteKeepsOnlyWholeItems) {
    // Each item and what it leaves in the record once its whole value has arrived.
    struct Step {
        uint8_t type;
        Bytes value;
        std::function<void(DeviceRecord&)> apply;
    };
    const std::vector<Step> steps = {
        {ITEM_MAC, TARGET_MAC, [](DeviceRecord& r) { std::memcpy(r.mac, TARGET_MAC.data(), 6); }},
        {ITEM_IP, {10, 0, 0, 7}, [](DeviceRecord& r) { SetFieldText(r.ip, "10.0.0.7"); }},
        {ITEM_HTTP_PORT, {0x90, 0x1F}, [](DeviceRecord& r) { r.httpPort = 8080; }},
        {ITEM_NAME, Text("Door", 16), [](DeviceRecord& r) { SetFieldText(r.name, "Door"); }},
        {ITEM_PPPOE_ACCOUNT, Bytes(64, 'a'),
         [](DeviceRecord& r) { std::memset(r.pppoeAccount, 'a', 64); }},
        {ITEM_READ_ONLY, {0x00, 0x01}, [](DeviceRecord& r) { r.readOnly = 1; }},
        {ITEM_NET_MODE,
         {0x01, 0xFF, 0xFF, 0xFF},
         [](DeviceRecord& r) { std::memcpy(r.netMode, "\x01\xFF\xFF\xFF", 4); }},
    };
    Reply reply;
    std::vector<std::size_t> ends;
    for (const Step& step : steps) {
        reply.Item(step.type, step.value);
        ends.push_back(reply.size());
    }
    for (std::size_t cut = 5; cut <= reply.size(); ++cut) {
        DeviceRecord expected;
        std::memset(&expected, 0, sizeof expected);
        for (std::size_t i = 0; i < steps.size() && ends[i] <= cut; ++i) {
            steps[i].apply(expected);
        }
        DeviceRecord record;
        std::memset(&record, 0x5A, sizeof record);
        ASSERT_TRUE(reply.Parse(record, cut));
        EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0) << "cut at " << cut;
    }
}

TEST(ParseReply, WalksAFullReceiveBuffer) {
    // 3000 bytes: eleven 255-byte fillers, a name, a 166-byte filler, then a last item
    // that ends exactly at byte 3000 (kept) or would reach past it (dropped).
    auto build = [](uint8_t lastType) {
        Reply reply;
        for (int i = 0; i < 11; ++i) {
            reply.Item(0x55, Bytes(253, 0xFF));
        }
        reply.Item(ITEM_NAME, Text("first", 16)).Item(0x55, Bytes(164, 0xFF));
        return reply.Raw({lastType, 4, 10, 0, 0, 9});
    };
    const Reply withIp = build(ITEM_IP);
    ASSERT_EQ(withIp.size(), 3000u);
    const DeviceRecord record = withIp.Parsed();
    EXPECT_EQ(FieldText(record.name), "first");
    EXPECT_EQ(FieldText(record.ip), "10.0.0.9");

    EXPECT_EQ(FieldText(build(ITEM_NAME).Parsed().name), "first");

    Reply noise;
    noise.Raw(Bytes(2995, 0xFF));
    EXPECT_TRUE(IsZero(noise.Parsed()));
}

} // namespace
