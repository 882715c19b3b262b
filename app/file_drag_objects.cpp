#include "app/file_drag_objects.h"

#include <algorithm>
#include <new>

#include "app/core/clipboard_formats.h"
#include "app/file_operations.h"

namespace quillmor {
namespace {

std::atomic<long> g_liveDataObjects{0};
std::atomic<long> g_liveDropSources{0};
std::atomic<long> g_liveEnumerators{0};

bool Served(const FORMATETC& format) {
  return (format.tymed & TYMED_HGLOBAL) != 0 && format.dwAspect == DVASPECT_CONTENT && format.lindex == -1 &&
         (format.cfFormat == CF_HDROP || format.cfFormat == PreferredDropEffectFormat());
}

FORMATETC Offered(CLIPFORMAT format) { return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// The shared part of IUnknown: `T` answers for IUnknown and `Interface`.
template <typename Interface, typename T>
HRESULT QueryFor(T* self, REFIID riid, const IID& interfaceId, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, interfaceId)) {
    *object = static_cast<Interface*>(self);
    self->AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

}  // namespace

UINT PreferredDropEffectFormat() {
  static const UINT format = RegisterClipboardFormatW(W(std::u16string(kPreferredDropEffectFormat)));
  return format;
}

// --- FileDragDataObject ---

FileDragDataObject::FileDragDataObject(std::vector<std::u16string> paths) : paths_(std::move(paths)) {
  ++g_liveDataObjects;
}
FileDragDataObject::~FileDragDataObject() { --g_liveDataObjects; }
long FileDragDataObject::Live() { return g_liveDataObjects.load(); }

HRESULT FileDragDataObject::QueryInterface(REFIID riid, void** object) {
  return QueryFor<IDataObject>(this, riid, IID_IDataObject, object);
}

ULONG FileDragDataObject::AddRef() { return ++references_; }

ULONG FileDragDataObject::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT FileDragDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (format == nullptr || medium == nullptr) return E_INVALIDARG;
  if (!Served(*format)) return DV_E_FORMATETC;
  HGLOBAL block = nullptr;
  if (format->cfFormat == CF_HDROP) {
    const std::vector<uint8_t> list = DropFilesBlock(paths_);
    block = GlobalMemoryCopy(list.data(), list.size(), GMEM_MOVEABLE | GMEM_ZEROINIT);
  } else {
    const DWORD effect = kDropEffectCopy;
    block = GlobalMemoryCopy(&effect, sizeof effect, GMEM_MOVEABLE);
  }
  if (block == nullptr) return STG_E_MEDIUMFULL;
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = block;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT FileDragDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return DV_E_FORMATETC; }

HRESULT FileDragDataObject::QueryGetData(FORMATETC* format) {
  if (format == nullptr) return E_INVALIDARG;
  return Served(*format) ? S_OK : DV_E_FORMATETC;
}

HRESULT FileDragDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (out == nullptr) return E_INVALIDARG;
  out->ptd = nullptr;
  return E_NOTIMPL;
}

HRESULT FileDragDataObject::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

HRESULT FileDragDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) {
  if (formats == nullptr) return E_POINTER;
  *formats = nullptr;
  if (direction != DATADIR_GET) return E_NOTIMPL;
  auto* list = new (std::nothrow)
      FormatEtcEnum({Offered(CF_HDROP), Offered(static_cast<CLIPFORMAT>(PreferredDropEffectFormat()))});
  if (list == nullptr) return E_OUTOFMEMORY;
  *formats = list;
  return S_OK;
}

HRESULT FileDragDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT FileDragDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT FileDragDataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }

// --- FileDropSource ---

FileDropSource::FileDropSource() { ++g_liveDropSources; }
FileDropSource::~FileDropSource() { --g_liveDropSources; }
long FileDropSource::Live() { return g_liveDropSources.load(); }

HRESULT FileDropSource::QueryInterface(REFIID riid, void** object) {
  return QueryFor<IDropSource>(this, riid, IID_IDropSource, object);
}

ULONG FileDropSource::AddRef() { return ++references_; }

ULONG FileDropSource::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT FileDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  if (escapePressed) return DRAGDROP_S_CANCEL;
  if ((keyState & MK_LBUTTON) == 0) return DRAGDROP_S_DROP;
  return S_OK;
}

HRESULT FileDropSource::GiveFeedback(DWORD) { return DRAGDROP_S_USEDEFAULTCURSORS; }

// --- FormatEtcEnum ---

FormatEtcEnum::FormatEtcEnum(std::vector<FORMATETC> formats, size_t cursor)
    : formats_(std::move(formats)), cursor_(std::min(cursor, formats_.size())) {
  ++g_liveEnumerators;
}
FormatEtcEnum::~FormatEtcEnum() { --g_liveEnumerators; }
long FormatEtcEnum::Live() { return g_liveEnumerators.load(); }

HRESULT FormatEtcEnum::QueryInterface(REFIID riid, void** object) {
  return QueryFor<IEnumFORMATETC>(this, riid, IID_IEnumFORMATETC, object);
}

ULONG FormatEtcEnum::AddRef() { return ++references_; }

ULONG FormatEtcEnum::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

// The records hold no target device, so plain copies are complete.
HRESULT FormatEtcEnum::Next(ULONG count, FORMATETC* formats, ULONG* fetched) {
  if (formats == nullptr) return E_POINTER;
  ULONG copied = 0;
  while (copied < count && cursor_ < formats_.size()) formats[copied++] = formats_[cursor_++];
  if (fetched != nullptr) *fetched = copied;
  return copied == count ? S_OK : S_FALSE;
}

HRESULT FormatEtcEnum::Skip(ULONG count) {
  cursor_ = std::min(formats_.size(), cursor_ + count);
  return cursor_ == formats_.size() ? S_FALSE : S_OK;
}

HRESULT FormatEtcEnum::Reset() {
  cursor_ = 0;
  return S_OK;
}

HRESULT FormatEtcEnum::Clone(IEnumFORMATETC** copy) {
  if (copy == nullptr) return E_POINTER;
  *copy = new (std::nothrow) FormatEtcEnum(formats_, cursor_);
  return *copy != nullptr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace quillmor
