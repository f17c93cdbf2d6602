#pragma once

#include <array>

#include "config/CConfigForm.h"

// The damping window: the damping of DP, SP and PT in seconds (keys "DP",
// "SP", "PT"), each from 0 to 30. A transmitter that sets a damping to the
// nearest value it can keep answers with a warning; the window then shows the
// values it kept and offers "&Close" to keep them or Cancel to restore the
// values first read.
class CDampingForm : public CConfigForm {
  public:
    static constexpr double kMinimum = 0.0;
    static constexpr double kMaximum = 30.0;

    using CConfigForm::CConfigForm;

    std::string Caption() const override;
    // "Send &Values", or "Set &Values" in Setup mode.
    std::string OkCaption() const;
    const std::string& Note() const { return m_note; }
    bool OkEnabled() const { return m_okEnabled; }
    bool CloseEnabled() const { return m_closeEnabled; }
    // True once a write ended with the nearest-value warning.
    bool Approximated() const { return m_closeEnabled; }

    void SetText(const std::string& key, const std::string& text) override;
    FormOutcome Ok() override;
    // "&Close": keeps the values the transmitter set.
    FormOutcome Close();
    // Restores the values first read where a write changed them.
    FormOutcome Cancel() override;

  protected:
    void Read() override;
    // The model operations, replaceable by a test that needs a transmitter
    // which rounds its damping.
    virtual void WriteDamping(int variable, double seconds);
    virtual double ReadDamping(int variable);
    std::function<std::string()> KeptValue(const std::string& field) override;

  private:
    // A damping as the window shows it, with its unit.
    static std::string Shown(double seconds);
    void Show(int variable, float seconds);

    std::array<float, 3> m_firstRead{};
    // What the transmitter (or document) holds as far as the window knows.
    std::array<float, 3> m_held{};
    bool m_writeAttempted = false;
    bool m_okEnabled = true;
    bool m_closeEnabled = false;
    std::string m_note;
};
