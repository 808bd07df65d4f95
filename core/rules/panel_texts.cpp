#include "core/rules/panel_texts.h"

#include <string>

std::optional<PanelTextRefusal> EncodePanelTexts(PanelValues& values, const DeviceRecord& target,
                                                 const CTextCodec& codec) {
    const struct {
        PanelTextField field;
        std::string& typed;
        std::string current;
        std::size_t width;
    } texts[] = {
        {PanelTextField::Name, values.name, FieldText(target.name), ITEM_WIDTH_NAME},
        {PanelTextField::PppoeAccount, values.pppoeAccount, FieldText(target.pppoeAccount),
         ITEM_WIDTH_PPPOE_ACCOUNT},
        {PanelTextField::PppoePassword, values.pppoePassword, FieldText(target.pppoePassword),
         ITEM_WIDTH_PPPOE_PASSWORD},
    };
    std::string written[std::size(texts)];
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        TextWrite write = codec.Write(texts[i].typed, codec.Read(texts[i].current, texts[i].width),
                                      texts[i].width);
        if (!write.Ok()) {
            return PanelTextRefusal{texts[i].field, texts[i].width, std::move(write)};
        }
        written[i] = std::move(write.bytes);
    }
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        texts[i].typed = std::move(written[i]);
    }
    return std::nullopt;
}
