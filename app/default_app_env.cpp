#include "app/app_env.h"

namespace quillmor {

AppEnv& DefaultAppEnv() {
  static AppEnv* env = new AppEnv{DefaultEnv(), &SystemMessageBoxes(), nullptr, &SystemShellLauncher()};
  return *env;
}

}  // namespace quillmor
