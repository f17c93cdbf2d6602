#include "link/LinkSettings.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "link/CCommLink.h"
#include "resources/Texts.h"

namespace {

constexpr int kDefaultPort = 1;
constexpr int kLastOfferedPort = 4;
constexpr const char* kDefaultBitRate = "9600";
constexpr const char* kDefaultCtsDelay = "25";
constexpr int kDefaultManufacturerId = 38;
constexpr int kDefaultTransmitterId = 31;
constexpr int kDefaultRetries = 3;
constexpr const char* kDefaultBusyDelay = "0";
constexpr const char* kDefaultInterpollDelay = "0";
constexpr const char* kDefaultPollInterval = "2000";
constexpr const char* kDefaultReplyTimeout = "0";

uint32_t ReadNumber(const ISettingsStore& store, const char* section, const char* key,
                    const char* defaultText) {
    return ParseSettingNumber(store.GetString(section, key, defaultText));
}

template <typename T>
T Clamp(long long value) {
    return static_cast<T>(
        std::clamp<long long>(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

}  // namespace

uint32_t ParseSettingNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    uint64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
        if (value > std::numeric_limits<uint32_t>::max())
            return std::numeric_limits<uint32_t>::max();
    }
    return static_cast<uint32_t>(value);
}

PortSettings ReadPortSettings(const ISettingsStore& store) {
    using namespace settingskeys;
    PortSettings settings;
    const int port = store.GetInt(kCommPort, kPortNumber, kDefaultPort);
    settings.port =
        static_cast<uint16_t>(port >= 1 && port <= kLastOfferedPort ? port : kLastOfferedPort);
    settings.bitRate = ReadNumber(store, kCommPort, kBitRate, kDefaultBitRate);
    settings.ctsDelay = Clamp<uint16_t>(ReadNumber(store, kCommPort, kCtsDelay, kDefaultCtsDelay));
    settings.ctsEnabled =
        store.GetString(kCommPort, kCtsEnabled, texts::kSettingTrue) == texts::kSettingTrue;
    // An empty device path means none: the port number decides.
    settings.devicePath = store.GetString(kCommPort, kDevicePath, {});
    return settings;
}

LinkScheduling ReadLinkScheduling(const ISettingsStore& store) {
    using namespace settingskeys;
    LinkScheduling scheduling;
    scheduling.manufacturerId =
        Clamp<uint8_t>(store.GetInt(kGeneral, kManufacturerId, kDefaultManufacturerId));
    scheduling.transmitterId =
        Clamp<uint8_t>(store.GetInt(kGeneral, kTransmitterId, kDefaultTransmitterId));
    scheduling.retries = Clamp<uint32_t>(store.GetInt(kLinkScheduling, kRetries, kDefaultRetries));
    scheduling.extraCommandTime = ReadNumber(store, kLinkScheduling, kBusyDelay, kDefaultBusyDelay);
    scheduling.interpollDelay =
        ReadNumber(store, kLinkScheduling, kInterpollDelay, kDefaultInterpollDelay);
    scheduling.pollInterval =
        ReadNumber(store, kLinkScheduling, kPollInterval, kDefaultPollInterval);
    scheduling.replyTimeout =
        ReadNumber(store, kLinkScheduling, kReplyTimeout, kDefaultReplyTimeout);
    return scheduling;
}

int32_t LoadPortSettings(const ISettingsStore& store, CProtocol& protocol) {
    return protocol.SetPortSettings(ReadPortSettings(store));
}

void LoadLinkScheduling(const ISettingsStore& store, CProtocol& protocol) {
    protocol.SetLinkScheduling(ReadLinkScheduling(store));
}

bool ReloadLinkSettings(const ISettingsStore& store, CProtocol& protocol) {
    // A link never opened takes the stored settings when it is opened.
    if (!protocol.HasLink() || !(protocol.Link()->IsOpen() || protocol.Link()->OpenFailed()))
        return false;
    // The link reopens when a port setting changed; a link whose reopen failed
    // before is opened again even when nothing changed, so that a port that has
    // come back (or a corrected setting) takes effect at once.
    int32_t result = LoadPortSettings(store, protocol);
    LoadLinkScheduling(store, protocol);
    if (result == 0 && !protocol.Link()->IsOpen()) result = protocol.Open();
    return result == 0 && protocol.Link()->IsOpen();
}
