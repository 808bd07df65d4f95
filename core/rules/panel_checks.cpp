#include "core/rules/panel_checks.h"

#include "core/messages/fill_text.h"
#include "core/rules/input_checks.h"
#include "core/rules/panel_texts.h"
#include "core/rules/settings_checks.h"
#include "core/wire/net_mode.h"

std::optional<std::string> CheckPanelValues(const DeviceRecord& target, const ChangeValues& values,
                                            const CTextCodec& codec, const TextLookup& tr) {
    ChangeValues encoded = values;
    if (const std::optional<PanelTextRefusal> refusal = EncodePanelTexts(encoded, target, codec)) {
        return TextRefusalSentence(
            *refusal, tr(FieldLabel(refusal->setting)),
            {tr(TEXT_CHECK_TOO_LONG), tr(TEXT_CHECK_NOT_HELD), tr(TEXT_CHECK_UNREADABLE)});
    }
    // A field is checked when its text differs from the camera's, even where the request
    // would not carry it (a port typed as "80x").
    for (const SettingField& field : SETTING_FIELDS) {
        const std::string& typed = values.*field.typed;
        if (field.kind == SettingKind::Text || !TextDiffers(typed, StoredText(field, target))) {
            continue;
        }
        const bool address = field.kind == SettingKind::Address;
        if (address ? !IsDottedAddress(typed) : !IsHttpPort(typed)) {
            return FillText(tr(address ? TEXT_CHECK_NOT_ADDRESS : TEXT_CHECK_NOT_PORT).c_str(),
                            {tr(FieldLabel(field.setting)), typed});
        }
    }
    if (values.newMac && TextDiffers(*values.newMac, MacToText(target.mac)) &&
        !IsMacText(*values.newMac)) {
        return FillText(tr(TEXT_CHECK_NOT_MAC).c_str(), {tr(TEXT_FIELD_MAC), *values.newMac});
    }
    return std::nullopt;
}
