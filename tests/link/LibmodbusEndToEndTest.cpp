// The master against an independent Modbus RTU slave (libmodbus) across a
// pseudo-terminal null modem: framing, CRC and float byte orders are checked by
// code nobody here wrote.
#include <gtest/gtest.h>
#include <modbus.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <thread>

#include "link/CProtocol.h"
#include "link/ErrorReport.h"
#include "tests/support/CPtyNullModem.h"

namespace {

constexpr int kCoils = 10;
constexpr int kRegisters = 490;

class CLibmodbusSlave {
  public:
    bool Start(const std::string& path, int address) {
        m_ctx = modbus_new_rtu(path.c_str(), 9600, 'N', 8, 1);
        if (!m_ctx || modbus_set_slave(m_ctx, address) != 0 || modbus_connect(m_ctx) != 0)
            return false;
        modbus_set_indication_timeout(m_ctx, 0, 50000);
        m_map = modbus_mapping_new(kCoils, 0, kRegisters, kRegisters);
        if (!m_map) return false;
        m_thread = std::thread([this] { Serve(); });
        return true;
    }
    ~CLibmodbusSlave() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        if (m_map) modbus_mapping_free(m_map);
        if (m_ctx) {
            modbus_close(m_ctx);
            modbus_free(m_ctx);
        }
    }
    // Runs `f` on the slave's tables while it does not answer.
    template <typename F>
    void WithMap(F f) {
        std::lock_guard<std::mutex> lock(m_mutex);
        f(*m_map);
    }

  private:
    void Serve() {
        uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
        while (!m_stop) {
            const int rc = modbus_receive(m_ctx, query);
            if (rc > 0) {
                std::lock_guard<std::mutex> lock(m_mutex);
                modbus_reply(m_ctx, query, rc, m_map);
            }
        }
    }

    modbus_t* m_ctx = nullptr;
    modbus_mapping_t* m_map = nullptr;
    std::mutex m_mutex;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class LibmodbusEndToEnd : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_cable.Ok());
        ASSERT_TRUE(m_slave.Start(m_cable.PathB(), 1));
        m_slave.WithMap([](modbus_mapping_t& map) {
            map.tab_input_registers[0] = 38;
            map.tab_input_registers[1] = 31;
            map.tab_input_registers[131] = 0;
        });
        LinkScheduling scheduling;
        scheduling.retries = 0;
        m_protocol.SetLinkScheduling(scheduling);
        PortSettings port;
        port.devicePath = m_cable.PathA();
        port.ctsDelay = 0;
        ASSERT_EQ(m_protocol.SetPortSettings(port), 0);
        ASSERT_EQ(m_protocol.Open(), 0);
    }

    CPtyNullModem m_cable;
    CLibmodbusSlave m_slave;
    CProtocol m_protocol;
};

using FloatGetter = float (*)(const uint16_t*);

}  // namespace

TEST_F(LibmodbusEndToEnd, SelectsTheDeviceAndReadsItsFloatFormat) {
    m_slave.WithMap([](modbus_mapping_t& map) { map.tab_input_registers[131] = 2; });
    EXPECT_EQ(m_protocol.Identify(1), 1);
    EXPECT_EQ(m_protocol.SelectDevice(1), 1);
    EXPECT_EQ(m_protocol.FloatFormat(), 2);
    EXPECT_EQ(m_protocol.Identify(2), 0);
    EXPECT_EQ(m_protocol.LastError(), commerr::kNoResponse);
}

TEST_F(LibmodbusEndToEnd, RegistersReadAndWrittenAgreeOnBothSides) {
    m_slave.WithMap([](modbus_mapping_t& map) {
        for (int i = 0; i < 59; ++i) map.tab_registers[i] = static_cast<uint16_t>(0x0101 * i + 7);
        map.tab_input_registers[124] = 0xBEEF;
    });
    ASSERT_EQ(m_protocol.SendPoll(1, 3, 0, 59, nullptr, false), 0);  // the 123-byte reply
    EXPECT_EQ(m_protocol.Register(10), 0x0101 * 10 + 7);
    EXPECT_EQ(m_protocol.RegisterBytes(31), (std::array<uint8_t, 2>{0x1F, 0x26}));
    ASSERT_EQ(m_protocol.SendPoll(1, 4, 124, 1, nullptr, false), 0);
    EXPECT_EQ(m_protocol.Register(124), 0xBEEF);

    const uint8_t words[] = {0x12, 0x34, 0xAB, 0xCD, 0x00, 0x01};
    ASSERT_EQ(m_protocol.SendPoll(1, 16, 60, 3, words, false), 0);
    ASSERT_EQ(m_protocol.SendPoll(1, 6, 10, 0x5A5A, nullptr, false), 0);
    m_slave.WithMap([](modbus_mapping_t& map) {
        EXPECT_EQ(map.tab_registers[60], 0x1234);
        EXPECT_EQ(map.tab_registers[61], 0xABCD);
        EXPECT_EQ(map.tab_registers[62], 0x0001);
        EXPECT_EQ(map.tab_registers[10], 0x5A5A);
    });
}

TEST_F(LibmodbusEndToEnd, FloatsAgreeInEveryFormat) {
    const FloatGetter getters[] = {modbus_get_float_abcd, modbus_get_float_cdab,
                                   modbus_get_float_dcba, modbus_get_float_badc};
    for (uint16_t format = 0; format < 4; ++format) {
        SCOPED_TRACE(testing::Message() << "float format " << format);
        // The slave's registers are laid out as libmodbus's own reader expects the
        // format (its writers of this version do not follow its readers).
        const float fromSlave = -12.375f + format;
        uint8_t bytes[4];
        CProtocol::EncodeFloat(fromSlave, format, bytes);
        m_slave.WithMap([&](modbus_mapping_t& map) {
            map.tab_registers[400] = static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
            map.tab_registers[401] = static_cast<uint16_t>((bytes[2] << 8) | bytes[3]);
            ASSERT_EQ(getters[format](&map.tab_registers[400]), fromSlave);
        });
        m_protocol.SetFloatFormat(format);
        ASSERT_EQ(m_protocol.SendPoll(1, 3, 400, 2, nullptr, false), 0);
        EXPECT_EQ(m_protocol.Float(400), fromSlave);

        const float toSlave = 1234.5f * (format + 1);
        uint8_t wire[4];
        CProtocol::EncodeFloat(toSlave, format, wire);
        ASSERT_EQ(m_protocol.SendPoll(1, 16, 402, 2, wire, false), 0);
        m_slave.WithMap([&](modbus_mapping_t& map) {
            EXPECT_EQ(getters[format](&map.tab_registers[402]), toSlave);
        });
    }
}

TEST_F(LibmodbusEndToEnd, CoilsAreReadAndWritten) {
    m_slave.WithMap([](modbus_mapping_t& map) { map.tab_bits[3] = 1; });
    ASSERT_EQ(m_protocol.SendPoll(1, 1, 3, 1, nullptr, false), 0);
    EXPECT_EQ(m_protocol.Bit(3), 1u);
    const uint8_t on = 1;
    ASSERT_EQ(m_protocol.SendPoll(1, 5, 2, 0, &on, false), 0);
    m_slave.WithMap([](modbus_mapping_t& map) { EXPECT_EQ(map.tab_bits[2], 1); });
}

TEST_F(LibmodbusEndToEnd, ExceptionRepliesBecomeTheirErrors) {
    LinkScheduling scheduling;
    scheduling.retries = 2;
    m_protocol.SetLinkScheduling(scheduling);
    EXPECT_EQ(m_protocol.SendPoll(1, 3, 485, 10, nullptr, true), commerr::kIllegalAddress);
    EXPECT_EQ(m_protocol.ExchangeCount(), 1u);  // not retried
    EXPECT_EQ(m_protocol.SendPoll(1, 1, 20, 1, nullptr, true), commerr::kIllegalAddress);
}
