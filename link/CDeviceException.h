#pragma once

#include <cstdint>

#include "platform/CException.h"

// A failure of a model check on device data, carrying one error number (0..2).
class CDeviceException : public CException {
public:
    explicit CDeviceException(int32_t error) : m_error(error) {}
    int32_t Error() const { return m_error; }
    const char* what() const noexcept override { return "device error"; }

private:
    int32_t m_error;
};
