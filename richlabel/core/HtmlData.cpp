// THTMLData: clearing, counting lines and writing the text back as simple markup.
#include "richlabel/core/HtmlData.h"

THTMLData::THTMLData(THTMLRender* Render) : FRender(Render) {}

THTMLData::~THTMLData() {
    ClearArray();
}

void THTMLData::ClearArray() {
    FControlsArray.clear();
    FRadioList.clear();
    FActiveItem = nullptr;
    FSelectedItem = nullptr;
    FArray.Clear();
}

int THTMLData::LineCount() const {
    int n = 0;
    for (const auto& item : FArray)
        if (item->IsBreak()) ++n;
    return n;
}

void THTMLData::GenerateHTML(std::u16string& Out) const {
    Out = u"<html>";
    for (const auto& item : FArray) {
        switch (item->FItemType) {
        case hitChar:
            Out += item->FText;
            break;
        case hitBreak:
            Out += u"<br>\r\n";
            break;
        case hitInput:
        case hitControl:
            Out += item->GetHTMLText() + u"\r\n";
            break;
        case hitVar:
            Out += u"<~~" + item->FText + u">";
            break;
        default:
            break;
        }
    }
    Out += u"</html>";
}
