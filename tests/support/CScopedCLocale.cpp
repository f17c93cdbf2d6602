#include "tests/support/CScopedCLocale.h"

#include <gtest/gtest.h>

#include <clocale>

CScopedCLocale::CScopedCLocale(const char* name) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    m_previous = previous ? previous : "C";
    if (!std::setlocale(LC_ALL, name)) {
        ADD_FAILURE() << "the locale " << name
                      << " is not installed; scripts/install-deps.sh generates it";
        return;
    }
    m_active = true;
}

std::string CScopedCLocale::DecimalPoint() {
    const lconv* conventions = std::localeconv();
    return conventions && conventions->decimal_point ? conventions->decimal_point : "";
}

CScopedCLocale::~CScopedCLocale() {
    if (m_active) std::setlocale(LC_ALL, m_previous.c_str());
}
