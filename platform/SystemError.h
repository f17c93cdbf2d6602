#pragma once

#include <string>

// The platform's text for an error code followed by "(RC = %lu)".
std::string SystemErrorText(unsigned long code);
