#include "app/core/message_titles.h"

#include "settings/localisation.h"

namespace quillmor {

std::u16string ErrorTitle() { return Translate(u"MsgTitle_Error", u"错误", u"Error"); }

std::u16string InformationTitle() { return Translate(u"MsgTitle_Information", u"提示", u"Information"); }

std::u16string CompletedTitle() { return Translate(u"MsgTitle_Completed", u"完成", u"Completed"); }

std::u16string MainWindowTitle() {
  return Translate(u"App_TitleMainLower", u"Quillmor - quillmor.app", u"Quillmor - quillmor.app");
}

}  // namespace quillmor
