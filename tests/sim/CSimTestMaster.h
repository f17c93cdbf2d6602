#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A tiny Modbus RTU master for the simulator's tests: frames are built by hand,
// the reply is collected raw and decoded only as far as a test needs.
class CSimTestMaster {
  public:
    struct Reply {
        std::vector<uint8_t> bytes;  // as received, CRC included
        bool crcOk = false;
        uint8_t exception = 0;            // exception code of an exception reply
        std::vector<uint16_t> registers;  // data of a function 3 or 4 reply

        bool Empty() const { return bytes.empty(); }
    };

    explicit CSimTestMaster(const std::string& path);
    ~CSimTestMaster();
    CSimTestMaster(const CSimTestMaster&) = delete;
    CSimTestMaster& operator=(const CSimTestMaster&) = delete;

    bool IsOpen() const { return m_fd >= 0; }

    // Appends the CRC (low byte first) to address and PDU.
    static std::vector<uint8_t> Frame(uint8_t address, const std::vector<uint8_t>& pdu);
    static std::vector<uint8_t> ReadPdu(uint8_t function, uint16_t start, uint16_t count);
    static std::vector<uint8_t> WriteMultiplePdu(uint16_t start,
                                                 const std::vector<uint16_t>& values);
    static std::vector<uint8_t> WriteMultipleBytesPdu(uint16_t start,
                                                      const std::vector<uint8_t>& data);

    void SendRaw(const std::vector<uint8_t>& bytes);
    // Collects a reply: stops once `expected` bytes (5 for an exception reply)
    // arrived, else after a short silence or the time-out.
    Reply Receive(size_t expected, int timeoutMs = 1000);
    Reply Transact(uint8_t address, const std::vector<uint8_t>& pdu, size_t expected,
                   int timeoutMs = 1000);

    Reply ReadHolding(uint8_t address, uint16_t start, uint16_t count, int timeoutMs = 1000);
    Reply ReadInput(uint8_t address, uint16_t start, uint16_t count, int timeoutMs = 1000);
    Reply WriteRegisters(uint8_t address, uint16_t start, const std::vector<uint16_t>& values);
    Reply WriteFloat(uint8_t address, uint16_t start, float value, uint16_t format);
    Reply WriteCoil(uint8_t address, uint16_t coil, bool on);
    Reply ReadCoil(uint8_t address, uint16_t coil);

    // A float from two registers of a reply, in a float format.
    static float FloatAt(const Reply& reply, size_t registerIndex, uint16_t format);

  private:
    int m_fd = -1;
};
