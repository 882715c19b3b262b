#include "app/app_env.h"

namespace quillmor {

AppEnv& DefaultAppEnv() {
  static AppEnv* env = new AppEnv{DefaultEnv(), &SystemMessageBoxes(), &SystemShellLauncher()};
  return *env;
}

}  // namespace quillmor
