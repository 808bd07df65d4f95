#include "core/rules/panel_checks.h"

#include "core/messages/fill_text.h"
#include "core/rules/input_checks.h"
#include "core/rules/panel_texts.h"
#include "core/wire/net_mode.h"

namespace {

std::string TextRefusalMessage(const PanelTextRefusal& refusal, const TextLookup& tr) {
    const WindowText& fieldText = refusal.field == PanelTextField::Name ? TEXT_FIELD_NAME
                                  : refusal.field == PanelTextField::PppoeAccount
                                      ? TEXT_FIELD_ACCOUNT
                                      : TEXT_FIELD_PASSWORD;
    const std::string field = tr(fieldText);
    const TextWrite& write = refusal.write;
    switch (write.refusal) {
    case TextRefusal::TooLong:
        return FillText(tr(TEXT_CHECK_TOO_LONG).c_str(),
                        {field, std::to_string(refusal.width), EncodingLabel(write.encoding),
                         std::to_string(write.fits)});
    case TextRefusal::NotHeld:
        return FillText(tr(TEXT_CHECK_NOT_HELD).c_str(),
                        {field, EncodingLabel(write.encoding), write.character,
                         CodePointText(write.codePoint)});
    case TextRefusal::Unreadable:
    case TextRefusal::None:
        break;
    }
    return FillText(tr(TEXT_CHECK_UNREADABLE).c_str(), {field});
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
            return FillText(tr(TEXT_CHECK_NOT_ADDRESS).c_str(), {tr(address.field), address.typed});
        }
    }
    if (TextDiffers(values.httpPort, std::to_string(target.httpPort)) &&
        !IsHttpPort(values.httpPort)) {
        return FillText(tr(TEXT_CHECK_NOT_PORT).c_str(),
                        {tr(TEXT_FIELD_HTTP_PORT), values.httpPort});
    }
    if (values.newMac && TextDiffers(*values.newMac, MacToText(target.mac)) &&
        !IsMacText(*values.newMac)) {
        return FillText(tr(TEXT_CHECK_NOT_MAC).c_str(), {tr(TEXT_FIELD_MAC), *values.newMac});
    }
    return std::nullopt;
}
