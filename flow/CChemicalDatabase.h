#pragma once

#include <array>
#include <string>
#include <vector>

// Reader of the fluid property file CHEMICAL.DB1: one header line, then one line
// per fluid with its name and the constants of its property correlations. The
// file is read afresh on every request and closed before the request returns.
class CChemicalDatabase {
  public:
    // The groups of constants a fluid line carries.
    enum class RecordKind {
        LiquidDensity = 0,  // 5 constants
        HeatCapacity = 1,   // 5 constants
        SecondVirial = 2,   // 5 constants
        Viscosity = 3,      // 10 constants: liquid A-E, vapour A-D, one unused
    };
    using Record = std::array<double, 10>;

    // Lines are examined in pieces of at most this many characters.
    static constexpr int kMaxLine = 767;
    // Requested names are cut to this length.
    static constexpr int kMaxName = 63;

    // The file beside the running program, or in the current directory when it
    // is not found there.
    CChemicalDatabase();
    explicit CChemicalDatabase(std::string path);

    const std::string& Path() const { return m_path; }

    // The names of all fluids in file order, upper case, with their spaces.
    bool ListNames(std::vector<std::string>& names) const;

    // True when the fluid is present and its look-up number (field 4) could be
    // read. Messages are shown only when asked for, except the damaged-line one.
    bool LookUp(const std::string& name, bool showMessages, double* number = nullptr) const;

    // Reads 5 (or 10 for the viscosity kind) constants of the fluid. Always
    // reports its failures.
    bool ReadRecord(const std::string& name, RecordKind kind, Record& record) const;

    // The location used by the default constructor: PathBeside the folder of
    // the running program.
    static std::string DefaultPath();
    // The database beside `programFolder` (ending in '/') when it is there,
    // else in `programFolder`../share/corvel-configurator/, else in the
    // working folder; the path beside the program when none exists.
    static std::string PathBeside(const std::string& programFolder);

    // Helpers of the line format, public so that they can be checked alone.
    static std::string Normalise(const std::string& line);
    static std::string MatchKey(const std::string& name);
    // Field 1 of a normalised line, upper case.
    static std::string FirstField(const std::string& normalised);
    // Offset of field n (n >= 2) in a normalised line, or -1 when the line is
    // damaged there.
    static int FieldOffset(const std::string& normalised, int n);
    // Reads up to `count` numbers from `text`; returns how many were read.
    static int ReadNumbers(const char* text, int count, double* values);

  private:
    std::string m_path;
};
