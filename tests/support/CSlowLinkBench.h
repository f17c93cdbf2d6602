#pragma once

#include <cstdint>
#include <memory>

#include "link/CProtocol.h"
#include "link/ModbusCrc.h"
#include "tests/support/CFakeSerialPort.h"

// A protocol on an in-memory port with the settings under which the give-up
// wait of the link's workers matters: an extra command time above five seconds
// after each write, and a read that can be made to ignore its time-outs. Both
// front ends are tested with exactly these settings.
class CSlowLinkBench {
  public:
    static constexpr uint32_t kExtraCommandTimeMs = 5200;

    CSlowLinkBench() {
        m_protocol = std::make_unique<CProtocol>(
            CFakeSerialPort::Factory(m_record, &Echo, [this](CFakeSerialPort& p) { m_port = &p; }));
        LinkScheduling scheduling;
        scheduling.retries = 2;
        scheduling.extraCommandTime = kExtraCommandTimeMs;
        m_protocol->SetLinkScheduling(scheduling);
        PortSettings port;
        port.devicePath = "/dev/fake";
        port.ctsDelay = 0;
        m_opened = m_protocol->SetPortSettings(port) == 0 && m_protocol->Open() == 0;
    }

    bool Opened() const { return m_opened; }
    CProtocol& Protocol() { return *m_protocol; }
    // Writes holding register 130 at address 1.
    int32_t Write() {
        const uint8_t value[2] = {0, 5};
        return m_protocol->SendPoll(1, 16, 130, 1, value, true);
    }
    // Reads one register without retries while the port's read never ends by itself.
    int32_t StalledRead() {
        m_port->SetReadStall(true);
        const int32_t result = m_protocol->SendPoll(1, 3, 0, 1, nullptr, false);
        m_port->SetReadStall(false);
        return result;
    }
    // Ends a stalled read from outside.
    void Unstall() { m_port->Purge(); }

  private:
    // A write is answered with its first six bytes, as a slave does.
    static CFakeSerialPort::Bytes Echo(const CFakeSerialPort::Bytes& request) {
        if (request.size() < 8 || request[1] != 16) return {};
        CFakeSerialPort::Bytes reply(request.begin(), request.begin() + 6);
        const uint16_t crc = modbus::Crc16(reply.data(), reply.size());
        reply.push_back(static_cast<uint8_t>(crc & 0xFF));
        reply.push_back(static_cast<uint8_t>(crc >> 8));
        return reply;
    }

    std::shared_ptr<CFakeSerialPort::Record> m_record = std::make_shared<CFakeSerialPort::Record>();
    CFakeSerialPort* m_port = nullptr;
    std::unique_ptr<CProtocol> m_protocol;
    bool m_opened = false;
};
