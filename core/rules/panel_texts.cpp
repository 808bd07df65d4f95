#include "core/rules/panel_texts.h"

#include <string>
#include <vector>

#include "core/messages/fill_text.h"

std::optional<PanelTextRefusal> EncodePanelTexts(ChangeValues& values, const DeviceRecord& target,
                                                 const CTextCodec& codec) {
    std::vector<std::pair<std::string*, std::string>> written;
    for (const SettingField& field : SETTING_FIELDS) {
        if (field.kind != SettingKind::Text) {
            continue;
        }
        std::string& typed = values.*field.typed;
        TextWrite write =
            codec.Write(typed, codec.Read(StoredText(field, target), field.width), field.width);
        if (!write.Ok()) {
            return PanelTextRefusal{field.setting, field.width, std::move(write)};
        }
        written.emplace_back(&typed, std::move(write.bytes));
    }
    for (auto& [typed, bytes] : written) {
        *typed = std::move(bytes);
    }
    return std::nullopt;
}

std::string TextRefusalSentence(const PanelTextRefusal& refusal, const std::string& field,
                                const TextRefusalWords& words) {
    const TextWrite& write = refusal.write;
    switch (write.refusal) {
    case TextRefusal::TooLong:
        return FillText(words.tooLong, {field, std::to_string(refusal.width),
                                        EncodingLabel(write.encoding), std::to_string(write.fits)});
    case TextRefusal::NotHeld:
        return FillText(words.notHeld, {field, EncodingLabel(write.encoding), write.character,
                                        CodePointText(write.codePoint)});
    case TextRefusal::Unreadable:
    case TextRefusal::None:
        break;
    }
    return FillText(words.unreadable, {field});
}
