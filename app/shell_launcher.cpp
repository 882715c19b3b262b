#include "app/shell_launcher.h"

namespace quillmor {
namespace {

const wchar_t* OrNull(const std::u16string& text) { return text.empty() ? nullptr : W(text); }

class SystemShell : public ShellLauncher {
 public:
  bool Execute(HWND owner, const ShellRequest& request) override {
    if (!request.extended) {
      const HINSTANCE result = ShellExecuteW(owner, OrNull(request.verb), W(request.file), OrNull(request.parameters),
                                             nullptr, request.show);
      return reinterpret_cast<INT_PTR>(result) > 32;
    }
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = request.mask;
    info.hwnd = owner;
    info.lpVerb = OrNull(request.verb);
    info.lpFile = W(request.file);
    info.lpParameters = OrNull(request.parameters);
    info.nShow = request.show;
    return ShellExecuteExW(&info) != FALSE;
  }
};

}  // namespace

ShellLauncher& SystemShellLauncher() {
  static SystemShell shell;
  return shell;
}

}  // namespace quillmor
