#include "protocol/panel_checks.h"

#include <initializer_list>

#include "protocol/input_checks.h"
#include "protocol/net_mode.h"
#include "protocol/panel_texts.h"

namespace {

// The text with %1, %2, ... replaced by the arguments in one pass, so an argument that
// holds a "%2" of its own stays as it is.
std::string Fill(const std::string& text, std::initializer_list<std::string> arguments) {
    std::string filled;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t number =
            i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '0') : 0;
        if (text[i] == '%' && number >= 1 && number <= arguments.size()) {
            filled += *(arguments.begin() + (number - 1));
            ++i;
        } else {
            filled += text[i];
        }
    }
    return filled;
}

std::string TextRefusalMessage(const PanelTextRefusal& refusal, const TextLookup& tr) {
    const WindowText& fieldText = refusal.field == PanelTextField::Name ? TEXT_FIELD_NAME
                                  : refusal.field == PanelTextField::PppoeAccount
                                      ? TEXT_FIELD_ACCOUNT
                                      : TEXT_FIELD_PASSWORD;
    const std::string field = tr(fieldText);
    const TextWrite& write = refusal.write;
    switch (write.refusal) {
    case TextRefusal::TooLong:
        return Fill(tr(TEXT_CHECK_TOO_LONG),
                    {field, std::to_string(refusal.width), EncodingLabel(write.encoding),
                     std::to_string(write.fits)});
    case TextRefusal::NotHeld:
        return Fill(tr(TEXT_CHECK_NOT_HELD), {field, EncodingLabel(write.encoding), write.character,
                                              CodePointText(write.codePoint)});
    case TextRefusal::Unreadable:
    case TextRefusal::None:
        break;
    }
    return Fill(tr(TEXT_CHECK_UNREADABLE), {field});
}

} // namespace

std::string InfoText(const DeviceRecord& record, const CTextCodec& codec, const TextLookup& tr) {
    return tr(TEXT_INFO_IP_GET) + ModeName(RadioMode(record.netMode)) + "\r\n" +
           tr(TEXT_INFO_VERSION) + codec.Shown(FieldText(record.version), ITEM_WIDTH_VERSION) +
           "\r\n";
}

std::optional<std::string> CheckPanelValues(const DeviceRecord& target, const PanelValues& values,
                                            const CTextCodec& codec, const TextLookup& tr) {
    PanelValues encoded = values;
    if (const std::optional<PanelTextRefusal> refusal = EncodePanelTexts(encoded, target, codec)) {
        return TextRefusalMessage(*refusal, tr);
    }
    const struct {
        const WindowText& field;
        const std::string& typed;
        std::string stored;
    } addresses[] = {{TEXT_FIELD_IP, values.ip, FieldText(target.ip)},
                     {TEXT_FIELD_NETMASK, values.netmask, FieldText(target.netmask)},
                     {TEXT_FIELD_GATEWAY, values.gateway, FieldText(target.gateway)}};
    for (const auto& address : addresses) {
        if (TextDiffers(address.typed, address.stored) && !IsDottedAddress(address.typed)) {
            return Fill(tr(TEXT_CHECK_NOT_ADDRESS), {tr(address.field), address.typed});
        }
    }
    if (TextDiffers(values.httpPort, std::to_string(target.httpPort)) &&
        !IsHttpPort(values.httpPort)) {
        return Fill(tr(TEXT_CHECK_NOT_PORT), {tr(TEXT_FIELD_HTTP_PORT), values.httpPort});
    }
    if (values.newMac && TextDiffers(*values.newMac, MacToText(target.mac)) &&
        !IsMacText(*values.newMac)) {
        return Fill(tr(TEXT_CHECK_NOT_MAC), {tr(TEXT_FIELD_MAC), *values.newMac});
    }
    return std::nullopt;
}
