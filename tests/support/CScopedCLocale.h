#pragma once

#include <string>

// A locale that writes numbers with a decimal comma, as many desktops do.
inline constexpr const char* kDecimalCommaLocale = "de_DE.UTF-8";

// Switches every category of the C library's locale to `name` for the
// lifetime of the object, as a program does that takes its locale from the
// desktop (setlocale(LC_ALL, "")), and restores the previous locale after.
// A locale that is not installed fails the current test at once, naming the
// locale and how to install it; Active() then stays false. The C library's
// locale belongs to the whole process: use it only where no other thread is
// formatting or parsing numbers meanwhile.
class CScopedCLocale {
  public:
    explicit CScopedCLocale(const char* name = kDecimalCommaLocale);
    ~CScopedCLocale();
    CScopedCLocale(const CScopedCLocale&) = delete;
    CScopedCLocale& operator=(const CScopedCLocale&) = delete;

    bool Active() const { return m_active; }
    // The decimal point the C library now writes and reads ("," under
    // kDecimalCommaLocale).
    static std::string DecimalPoint();

  private:
    std::string m_previous;
    bool m_active = false;
};
