#include "app/ui/NumericLocale.h"

#include <clocale>

void KeepNumericLocaleC() { std::setlocale(LC_NUMERIC, "C"); }
