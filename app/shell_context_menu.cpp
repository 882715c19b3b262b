#include "app/shell_context_menu.h"

#include "app/core/operation_items.h"
#include "app/file_operations.h"

namespace quillmor {

ShellContextMenu::~ShellContextMenu() {
  if (menu_ != nullptr) DestroyMenu(menu_);
  handler_.Reset();
  folder_.Reset();
  for (PIDLIST_ABSOLUTE id : parsed_) CoTaskMemFree(id);
}

bool ShellContextMenu::Build(HWND owner, std::span<const std::u16string> paths, bool extendedVerbs) {
  for (const size_t index : ItemsInFirstFolder(paths)) {
    PIDLIST_ABSOLUTE id = nullptr;
    if (FAILED(SHParseDisplayName(W(paths[index]), nullptr, &id, 0, nullptr)) || id == nullptr) return false;
    parsed_.push_back(id);
    if (parsed_.size() == 1) {
      PCUITEMID_CHILD child = nullptr;
      if (FAILED(SHBindToParent(id, IID_IShellFolder, folder_.PutVoid(), &child))) return false;
      children_.push_back(child);
    } else {
      children_.push_back(ILFindLastID(id));
    }
  }
  if (!folder_ || children_.empty()) return false;
  if (FAILED(folder_->GetUIObjectOf(owner, static_cast<UINT>(children_.size()), children_.data(), IID_IContextMenu,
                                    nullptr, handler_.PutVoid())) ||
      !handler_) {
    return false;
  }
  menu_ = CreatePopupMenu();
  if (menu_ == nullptr) return false;
  const UINT flags = CMF_EXPLORE | (extendedVerbs ? CMF_EXTENDEDVERBS : 0);
  return SUCCEEDED(handler_->QueryContextMenu(menu_, 0, kFirstShellCommand, kLastShellCommand, flags));
}

HRESULT ShellContextMenu::Invoke(HWND owner, UINT command, POINT point) {
  if (!handler_ || command < kFirstShellCommand || command > kLastShellCommand) return E_INVALIDARG;
  CMINVOKECOMMANDINFOEX info{};
  info.cbSize = sizeof info;
  info.fMask = CMIC_MASK_UNICODE | CMIC_MASK_PTINVOKE;
  info.hwnd = owner;
  // The verb is the command's offset from the first id.
  info.lpVerb = MAKEINTRESOURCEA(command - kFirstShellCommand);
  info.lpVerbW = MAKEINTRESOURCEW(command - kFirstShellCommand);
  info.nShow = SW_SHOWNORMAL;
  info.ptInvoke = point;
  return handler_->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&info));
}

void ShowShellContextMenu(MainWindow& w, POINT screen) {
  const std::vector<std::u16string> paths = CollectOperationItems(w).Paths();
  if (paths.empty()) return;
  ShellContextMenu shell;
  if (!shell.Build(w.hwnd, paths, (GetKeyState(VK_SHIFT) & 0x8000) != 0)) return;

  // While the menu is open the window hands the handler the messages that
  // fill its submenus and draw its owner-drawn items.
  FileOpsState& ops = w.fileOps;
  if (FAILED(shell.handler()->QueryInterface(IID_IContextMenu3, reinterpret_cast<void**>(&ops.shellMenu3)))) {
    ops.shellMenu3 = nullptr;
    if (FAILED(shell.handler()->QueryInterface(IID_IContextMenu2, reinterpret_cast<void**>(&ops.shellMenu2)))) {
      ops.shellMenu2 = nullptr;
    }
  }
  SetForegroundWindow(w.hwnd);
  const UINT command = static_cast<UINT>(
      TrackPopupMenuEx(shell.menu(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, w.hwnd, nullptr));
  if (ops.shellMenu3 != nullptr) ops.shellMenu3->Release();
  if (ops.shellMenu2 != nullptr) ops.shellMenu2->Release();
  ops.shellMenu3 = nullptr;
  ops.shellMenu2 = nullptr;
  if (command >= kFirstShellCommand && command <= kLastShellCommand) shell.Invoke(w.hwnd, command, screen);
}

bool OfferToShellContextMenu(MainWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const FileOpsState& ops = w.fileOps;
  if (ops.shellMenu3 == nullptr && ops.shellMenu2 == nullptr) return false;
  // Combo boxes and buttons keep drawing their own items meanwhile.
  if (message == WM_MEASUREITEM || message == WM_DRAWITEM) {
    if (lParam == 0) return false;
    const UINT type = message == WM_MEASUREITEM ? reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlType
                                                : reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->CtlType;
    if (type != ODT_MENU) return false;
  }
  if (ops.shellMenu3 != nullptr) {
    LRESULT answer = 0;
    if (FAILED(ops.shellMenu3->HandleMenuMsg2(message, wParam, lParam, &answer))) return false;
    result = answer;
    return true;
  }
  if (message == WM_MENUCHAR || FAILED(ops.shellMenu2->HandleMenuMsg(message, wParam, lParam))) return false;
  result = message == WM_INITMENUPOPUP ? 0 : TRUE;
  return true;
}

LRESULT OnShellMenuMessage(MainWindow& w, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OfferToShellContextMenu(w, message, wParam, lParam, result)) return result;
  return DefWindowProcW(w.hwnd, message, wParam, lParam);
}

}  // namespace quillmor
