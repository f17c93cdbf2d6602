#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>

#include "config/CConfigForm.h"

// The "Test Calculation" window: the transmitter evaluates its flow equation
// for an entered differential pressure, static pressure and process
// temperature. The inputs (keys "DP", "SP", "PT", with their unit lists
// "DP-unit", "SP-unit", "PT-unit") start at the present values; "&Calculate"
// sends them and the window then polls for the transmitter's answer every
// 2000 ms, giving up after 90 s. The results are shown under the keys
// "mass-flow", "density", "gas-expansion", "discharge-coefficient",
// "reynolds" and "viscosity".
//
// The request is a 25-byte block of legacy command 165: the code 1 and six
// floats (least significant byte first): DP in InH2O-68°F, its square root, SP
// in psi, its square root, PT in °R, its square root. The answer is read with
// legacy command 166 in two blocks of the same layout: selector kEchoSelector
// gives the code and the six inputs as the transmitter took them, selector
// kResultsSelector the code and mass flow (lb/s), the square root of the
// density (lb/ft³), the gas expansion factor, the discharge coefficient, the
// pipe Reynolds number and the reciprocal of the viscosity (centipoise).
class CTestCalculationForm : public CConfigForm {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    using Block = std::array<uint8_t, 25>;

    static constexpr int kPollIntervalMs = 2000;
    static constexpr std::chrono::seconds kGiveUp{90};
    static constexpr uint8_t kRequestCode = 1;
    static constexpr uint8_t kEchoSelector = 160;
    static constexpr uint8_t kResultsSelector = 161;
    // How far an echoed input may lie from the value sent, relative to it.
    static constexpr double kEchoTolerance = 3.5762787e-7;

    CTestCalculationForm(CMVDoc& doc, int mode, Clock clock = std::chrono::steady_clock::now);

    std::string Caption() const override;
    // "&Calculate": checks the inputs and sends the request; the window then
    // waits for the answer (Waiting()) and calls Poll() every 2000 ms.
    FormOutcome Ok() override;
    bool Waiting() const { return m_waiting; }
    // One look at the transmitter's answer: shows the results once its echo
    // matches the request, or gives up after 90 s with its message. A failed
    // exchange ends the wait with its message.
    void Poll();
    // The hidden refresh: the last answer's results, and its echoed inputs
    // back in the input fields (in the units chosen there).
    void RefreshFromTransmitter();

    // The block of a request with these inputs (negative values sent as 0).
    static Block RequestBlock(double dpInH2O68, double spPsi, double ptRankine);
    // The six floats of a block.
    static std::array<float, 6> Values(const Block& block);

  protected:
    void Read() override;
    std::vector<int> ChoiceCodes(const std::string& key) const override;

  private:
    bool EchoMatches(const Block& echo) const;
    void ShowResults(const Block& results);

    Clock m_clock;
    bool m_waiting = false;
    std::chrono::steady_clock::time_point m_sentAt{};
    std::array<float, 6> m_sent{};
};
