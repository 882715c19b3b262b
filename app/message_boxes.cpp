#include "app/message_boxes.h"

namespace quillmor {
namespace {

class SystemBoxes : public MessageBoxes {
 public:
  int Show(HWND owner, std::u16string_view text, std::u16string_view title, UINT type) override {
    return MessageBoxW(owner, W(std::u16string(text)), W(std::u16string(title)), type);
  }
};

}  // namespace

MessageBoxes& SystemMessageBoxes() {
  static SystemBoxes boxes;
  return boxes;
}

}  // namespace quillmor
