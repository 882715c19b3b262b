#include "app/core/icon_request.h"

namespace quillmor {

IconRequest DecideIconRequest(bool pathEmpty, bool isDirectory, int32_t size, bool wantThumbnail,
                              bool thumbnailRecentlyFailed) {
  IconRequest request;
  request.size = size < 1 ? 16 : size;
  if (pathEmpty) {
    request.source = isDirectory ? IconSource::kSharedFolder : IconSource::kNone;
    return request;
  }
  if (isDirectory && request.size <= 20 && !wantThumbnail) {
    request.source = IconSource::kSharedFolder;
    return request;
  }
  request.source = IconSource::kLoad;
  request.thumbnail = wantThumbnail && !isDirectory && !thumbnailRecentlyFailed;
  return request;
}

}  // namespace quillmor
