#include "protocol/panel_checks.h"

#include "protocol/input_checks.h"
#include "protocol/net_mode.h"

std::string InfoText(const DeviceRecord& record) {
    return std::string("IP Get:") + ModeName(RadioMode(record.netMode)) +
           "\r\nVersion:" + FieldText(record.version) + "\r\n";
}

static std::string Refusal(std::string_view field, const std::string& typed, const char* refusal) {
    return std::string(field) + ": \"" + typed + "\" " + refusal + " Nothing was sent.";
}

std::optional<std::string> CheckPanelValues(const DeviceRecord& target, const PanelValues& values,
                                            std::string_view unstorableField) {
    if (!unstorableField.empty()) {
        return std::string(unstorableField) +
               ": the camera cannot store some of these characters. Nothing was sent.";
    }
    const struct {
        const char* field;
        const std::string& typed;
        std::string stored;
    } addresses[] = {{"IP", values.ip, FieldText(target.ip)},
                     {"Submask", values.netmask, FieldText(target.netmask)},
                     {"Gateway", values.gateway, FieldText(target.gateway)}};
    for (const auto& address : addresses) {
        if (TextDiffers(address.typed, address.stored) && !IsDottedAddress(address.typed)) {
            return Refusal(address.field, address.typed,
                           "is not an address. Type four numbers from 0 to 255 separated by "
                           "dots, such as 192.168.1.100.");
        }
    }
    if (TextDiffers(values.httpPort, std::to_string(target.httpPort)) &&
        !IsHttpPort(values.httpPort)) {
        return Refusal("Http Port", values.httpPort,
                       "is not a port. Type a number from 1 to 65535.");
    }
    if (values.newMac && TextDiffers(*values.newMac, MacToText(target.mac)) &&
        !IsMacText(*values.newMac)) {
        return Refusal("Mac", *values.newMac,
                       "is not a MAC address. Type twelve hexadecimal digits without "
                       "separators, such as 001a2b3c4d5e.");
    }
    return std::nullopt;
}
