// Drag and drop of the selected results to other programs: the files are
// offered for copying only.
#include <new>

#include "app/file_drag_objects.h"
#include "app/file_operations.h"
#include "app/list_view.h"

namespace quillmor {

void StartFileDrag(MainWindow& w) {
  std::vector<std::u16string> paths = CollectOperationItems(w).Paths();
  if (paths.empty()) return;
  // COM lives for the drag only.
  if (FAILED(OleInitialize(nullptr))) return;
  auto* data = new (std::nothrow) FileDragDataObject(std::move(paths));
  auto* source = new (std::nothrow) FileDropSource();
  if (data != nullptr && source != nullptr) {
    HideListTooltip(w);
    DWORD effect = DROPEFFECT_NONE;
    DoDragDrop(data, source, DROPEFFECT_COPY, &effect);
  }
  if (source != nullptr) source->Release();
  if (data != nullptr) data->Release();
  OleUninitialize();
}

}  // namespace quillmor
