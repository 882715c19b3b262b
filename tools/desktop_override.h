// System facts from another SystemInfo, with the Desktop folder replaced: the
// command line names it with --desktop.
#pragma once

#include <string>
#include <utility>

#include "platform/forwarding_system_info.h"

namespace quillmor {

class DesktopOverride : public ForwardingSystemInfo {
 public:
  // An empty `desktop` keeps the base's Desktop folder.
  DesktopOverride(SystemInfo& base, std::u16string desktop)
      : ForwardingSystemInfo(base), desktop_(std::move(desktop)) {}

  bool DesktopFolder(std::u16string& path) override {
    if (desktop_.empty()) return base().DesktopFolder(path);
    path = desktop_;
    return true;
  }

 private:
  std::u16string desktop_;
};

}  // namespace quillmor
