#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "config/CConfigForm.h"
#include "transmitter/ModelTypes.h"

// The integer scaling records of DP, SP and PT, and their units names.
using ScalingRecords = std::array<IntegerScalingRecord, 3>;
using UnitsNames = std::array<std::string, 3>;

// What the three integer-scaling parameter windows share. Each is opened by
// the Data Formats window with the three records of its method and the units
// names, shows them, and on "&Set Scaling" checks what was typed and hands
// back the new records (Records()). They write nothing themselves.
class CScalingParametersForm : public CConfigForm {
  public:
    CScalingParametersForm(CMVDoc& doc, int mode, const ScalingRecords& records,
                           const UnitsNames& units);

    virtual uint16_t Method() const = 0;
    // The records given, or those "&Set Scaling" made.
    const ScalingRecords& Records() const { return m_records; }

    // The terminal's joined value of one variable: its fields in row order,
    // separated by ':' (a part left empty keeps its field).
    std::string SetVariableValue(int variable, const std::string& value);
    // The same value from a record, as `get` prints it.
    static std::string JoinedValue(uint16_t method, const IntegerScalingRecord& record);
    // "MININT:MAXINT:MINPV:MAXPV", "FACTOR:OFFSET" or "MINPV:MAXPV".
    static const char* JoinedParts(uint16_t method);

  protected:
    void SetRecords(const ScalingRecords& records) { m_records = records; }
    const std::string& UnitsName(int variable) const {
        return m_units[static_cast<size_t>(variable)];
    }
    // The keys of a variable's row, in order.
    virtual std::vector<std::string> RowKeys(int variable) const = 0;

    // Adds an edit field and keeps the text it first shows.
    FormField& AddNumber(const std::string& key, const std::string& label, const std::string& text);
    // A PV field: while it still shows its first text the value given (as
    // read, not as rounded for showing); else the number typed.
    bool ParsePv(const std::string& key, float given, float& value) const;
    // A whole number from `minimum` to `maximum`.
    bool ParseWord(const std::string& key, long minimum, long maximum, uint16_t& value) const;

  private:
    ScalingRecords m_records;
    UnitsNames m_units;
    std::map<std::string, std::string> m_firstText;
};
