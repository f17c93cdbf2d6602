#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CSimTransmitter;
struct SimTransmitterOptions;

// A simulated multidrop line: a Modbus RTU slave side on a pseudo-terminal with
// one or more simulated transmitters (and optionally foreign devices) at their
// polling addresses. The master opens SlavePath() like any serial device.
// Every public member may be called from any thread while the line runs.
class CSimLine {
  public:
    CSimLine();
    ~CSimLine();  // stops the line
    CSimLine(const CSimLine&) = delete;
    CSimLine& operator=(const CSimLine&) = delete;

    // The line of `--simulate`: one transmitter with default settings at address 1.
    static std::unique_ptr<CSimLine> CreateDefault();

    // Opens the pseudo-terminal and starts serving; returns false with a reason.
    bool Start(std::string* error = nullptr);
    void Stop();
    const std::string& SlavePath() const;
    // Publishes the slave path as a symbolic link (replaced when it exists).
    bool PublishSymlink(const std::string& linkPath, std::string* error = nullptr);

    // A Corvel transmitter at an address (the default line has one at address 1
    // only when created through CreateDefault()).
    CSimTransmitter& AddTransmitter(uint8_t address);
    CSimTransmitter& AddTransmitter(uint8_t address, const SimTransmitterOptions& options);
    // A device with another identity pair (it answers input registers 0 and 1 only).
    void AddForeignDevice(uint8_t address, uint8_t manufacturerId, uint8_t deviceId);
    // The transmitter now answering at an address, or nullptr.
    CSimTransmitter* TransmitterAt(uint8_t address);
    std::vector<uint8_t> Addresses() const;

    // Wire timing: each byte takes its character time (11 bits) at this bit rate;
    // 0 switches the emulation off (replies are written at once).
    void SetWireTiming(double bitRate);

    // Fault injection, applying to the next replies of every device on the line.
    void SetNoReply(bool on);
    void SetBadCrc(bool on);
    void SetReplyFromOtherAddress(bool on);
    void SetExtraLeadingByte(bool on);  // one byte before the reply (reply one byte late)
    // Exception `code` for any register request that touches [first, last]; 0 clears.
    void SetExceptionRange(uint16_t first, uint16_t last, uint8_t code);
    void SetReplyDelayMs(unsigned ms);  // on top of the turnaround delay
    // The line is cut at the next request: it closes its end of the
    // pseudo-terminal without a reply, as an adapter pulled out mid-exchange,
    // and serves no more.
    void SetHangUpOnRequest(bool on);
    void ClearFaults();

    // Traffic counters.
    uint64_t RequestsSeen() const;
    uint64_t RepliesSent() const;
    uint64_t BytesReceived() const;
    uint64_t BytesSent() const;

    // Silence that ends a partial request (the rest of it is discarded).
    static constexpr unsigned kFrameGapMs = 20;

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
