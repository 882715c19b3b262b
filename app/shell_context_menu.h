// The Windows shell's own context menu for files of one folder: built from
// the folder's IShellFolder, shown by the main window, its chosen command
// run by the handler.
#pragma once

#include <shlobj.h>

#include <span>
#include <string>
#include <vector>

#include "app/com_ptr.h"
#include "app/win32_app.h"

namespace quillmor {

// The shell's command ids lie in [kFirstShellCommand, kLastShellCommand].
inline constexpr UINT kFirstShellCommand = 1;
inline constexpr UINT kLastShellCommand = 32767;

class ShellContextMenu {
 public:
  ShellContextMenu() = default;
  ~ShellContextMenu();
  ShellContextMenu(const ShellContextMenu&) = delete;
  ShellContextMenu& operator=(const ShellContextMenu&) = delete;

  // The handler and its filled popup menu for the paths in the first path's
  // folder (the others are left out), with the extended verbs when asked
  // (Shift held). False on any failure.
  bool Build(HWND owner, std::span<const std::u16string> paths, bool extendedVerbs);

  HMENU menu() const { return menu_; }
  IContextMenu* handler() const { return handler_.get(); }
  // How many items the menu is for.
  size_t ItemCount() const { return children_.size(); }

  // Runs the command the menu returned (kFirstShellCommand to
  // kLastShellCommand), invoked at `point`.
  HRESULT Invoke(HWND owner, UINT command, POINT point);

 private:
  ComApartmentScope apartment_;  // first in, last out
  OleSessionScope ole_;          // the verbs that use the clipboard need it
  ComPtr<IShellFolder> folder_;
  ComPtr<IContextMenu> handler_;
  std::vector<PIDLIST_ABSOLUTE> parsed_;   // freed with CoTaskMemFree
  std::vector<PCUITEMID_CHILD> children_;  // the last ids of `parsed_`
  HMENU menu_ = nullptr;
};

}  // namespace quillmor
