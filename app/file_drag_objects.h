// The COM objects of drag and drop: the data a drop target reads
// (FileDragDataObject: the file drop list and "Preferred DropEffect"), the
// source's answers while the mouse moves (FileDropSource) and the list of
// formats offered (FormatEtcEnum). Each starts with one reference and deletes
// itself when the last is released.
#pragma once

#include <oleidl.h>

#include <atomic>
#include <string>
#include <vector>

#include "app/win32_app.h"

namespace quillmor {

class FileDragDataObject final : public IDataObject {
 public:
  explicit FileDragDataObject(std::vector<std::u16string> paths);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // Served only for CF_HDROP and "Preferred DropEffect" (1), asked for with
  // TYMED_HGLOBAL among the media, DVASPECT_CONTENT and index -1.
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** advise) override;

  // How many objects of the class exist (for tests of the reference counts).
  static long Live();

 private:
  ~FileDragDataObject();
  std::atomic<ULONG> references_{1};
  std::vector<std::u16string> paths_;
};

class FileDropSource final : public IDropSource {
 public:
  FileDropSource();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // Escape cancels, releasing the left button drops, else the drag goes on.
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

  static long Live();

 private:
  ~FileDropSource();
  std::atomic<ULONG> references_{1};
};

class FormatEtcEnum final : public IEnumFORMATETC {
 public:
  explicit FormatEtcEnum(std::vector<FORMATETC> formats, size_t cursor = 0);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** copy) override;

  static long Live();

 private:
  ~FormatEtcEnum();
  std::atomic<ULONG> references_{1};
  std::vector<FORMATETC> formats_;
  size_t cursor_ = 0;
};

// The "Preferred DropEffect" clipboard format's number.
UINT PreferredDropEffectFormat();

}  // namespace quillmor
