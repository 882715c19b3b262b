// The drag-and-drop COM objects in process: every answer of their
// interfaces, and reference counts that free each object exactly once.
#include "app/file_drag_objects.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include "app/core/clipboard_formats.h"

namespace quillmor {
namespace {

const std::vector<std::u16string> kPaths{u"C:\\docs\\report.txt", u"D:\\中文\\é.pdf"};

FORMATETC Format(CLIPFORMAT format, DWORD tymed = TYMED_HGLOBAL, DWORD aspect = DVASPECT_CONTENT, LONG index = -1) {
  return FORMATETC{format, nullptr, aspect, index, tymed};
}
CLIPFORMAT Effect() { return static_cast<CLIPFORMAT>(PreferredDropEffectFormat()); }

// Releases a medium GetData filled and returns its bytes.
std::vector<uint8_t> TakeBytes(STGMEDIUM& medium) {
  std::vector<uint8_t> bytes;
  const SIZE_T size = GlobalSize(medium.hGlobal);
  const void* data = GlobalLock(medium.hGlobal);
  if (data != nullptr) bytes.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
  GlobalUnlock(medium.hGlobal);
  ReleaseStgMedium(&medium);
  return bytes;
}

class DragObjectsTest : public ::testing::Test {
 protected:
  // Every object a test made is gone at its end.
  ~DragObjectsTest() override {
    EXPECT_EQ(FileDragDataObject::Live(), 0);
    EXPECT_EQ(FileDropSource::Live(), 0);
    EXPECT_EQ(FormatEtcEnum::Live(), 0);
  }
};

TEST_F(DragObjectsTest, GetDataServesTheFileListAndTheCopyEffect) {
  auto* data = new FileDragDataObject(kPaths);
  FORMATETC hdrop = Format(CF_HDROP, TYMED_HGLOBAL | TYMED_ISTREAM);  // HGLOBAL among others is enough
  STGMEDIUM medium{};
  ASSERT_EQ(data->GetData(&hdrop, &medium), S_OK);
  EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
  EXPECT_EQ(medium.pUnkForRelease, nullptr);
  // DragQueryFileW reads it as any drop target would.
  const auto drop = static_cast<HDROP>(medium.hGlobal);
  ASSERT_EQ(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), 2u);
  wchar_t name[MAX_PATH];
  DragQueryFileW(drop, 1, name, MAX_PATH);
  EXPECT_EQ(win32::FromWide(name), kPaths[1]);
  EXPECT_EQ(TakeBytes(medium), DropFilesBlock(kPaths));

  FORMATETC effect = Format(Effect());
  ASSERT_EQ(data->GetData(&effect, &medium), S_OK);
  const std::vector<uint8_t> value = TakeBytes(medium);
  ASSERT_GE(value.size(), 4u);
  EXPECT_EQ(value[0] | value[1] << 8 | value[2] << 16 | value[3] << 24, 1);
  EXPECT_EQ(data->Release(), 0u);
}

TEST_F(DragObjectsTest, GetDataAndQueryGetDataRefuseWhatIsNotServed) {
  auto* data = new FileDragDataObject(kPaths);
  const struct {
    const char* what;
    FORMATETC format;
  } refused[] = {
      {"another format", Format(CF_UNICODETEXT)},
      {"no HGLOBAL among the media", Format(CF_HDROP, TYMED_ISTREAM | TYMED_FILE)},
      {"another aspect", Format(CF_HDROP, TYMED_HGLOBAL, DVASPECT_THUMBNAIL)},
      {"an index other than -1", Format(CF_HDROP, TYMED_HGLOBAL, DVASPECT_CONTENT, 0)},
      {"the effect with another aspect", Format(Effect(), TYMED_HGLOBAL, DVASPECT_ICON)},
  };
  for (const auto& r : refused) {
    FORMATETC format = r.format;
    STGMEDIUM medium{};
    EXPECT_EQ(data->GetData(&format, &medium), DV_E_FORMATETC) << r.what;
    EXPECT_EQ(data->QueryGetData(&format), DV_E_FORMATETC) << r.what;
  }
  FORMATETC hdrop = Format(CF_HDROP);
  FORMATETC effect = Format(Effect());
  EXPECT_EQ(data->QueryGetData(&hdrop), S_OK);
  EXPECT_EQ(data->QueryGetData(&effect), S_OK);
  STGMEDIUM medium{};
  EXPECT_EQ(data->GetData(nullptr, &medium), E_INVALIDARG);
  EXPECT_EQ(data->GetData(&hdrop, nullptr), E_INVALIDARG);
  EXPECT_EQ(data->QueryGetData(nullptr), E_INVALIDARG);
  EXPECT_EQ(data->GetDataHere(&hdrop, &medium), DV_E_FORMATETC);
  EXPECT_EQ(data->SetData(&hdrop, &medium, FALSE), E_NOTIMPL);
  EXPECT_EQ(data->DAdvise(&hdrop, 0, nullptr, nullptr), OLE_E_ADVISENOTSUPPORTED);
  EXPECT_EQ(data->DUnadvise(1), OLE_E_ADVISENOTSUPPORTED);
  EXPECT_EQ(data->EnumDAdvise(nullptr), OLE_E_ADVISENOTSUPPORTED);

  // The canonical format: the target device cleared, and not implemented.
  FORMATETC out = Format(CF_HDROP);
  out.ptd = reinterpret_cast<DVTARGETDEVICE*>(&out);
  EXPECT_EQ(data->GetCanonicalFormatEtc(&hdrop, &out), E_NOTIMPL);
  EXPECT_EQ(out.ptd, nullptr);
  EXPECT_EQ(data->GetCanonicalFormatEtc(&hdrop, nullptr), E_INVALIDARG);
  data->Release();
}

TEST_F(DragObjectsTest, EnumFormatEtcListsTheTwoFormatsForGettingOnly) {
  auto* data = new FileDragDataObject(kPaths);
  EXPECT_EQ(data->EnumFormatEtc(DATADIR_GET, nullptr), E_POINTER);
  IEnumFORMATETC* list = reinterpret_cast<IEnumFORMATETC*>(&list);
  EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &list), E_NOTIMPL);
  EXPECT_EQ(list, nullptr);
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &list), S_OK);

  FORMATETC formats[3]{};
  ULONG fetched = 99;
  EXPECT_EQ(list->Next(3, formats, &fetched), S_FALSE) << "only two to give";
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(formats[0].cfFormat, CF_HDROP);
  EXPECT_EQ(formats[1].cfFormat, Effect());
  for (const FORMATETC& f : {formats[0], formats[1]}) {
    EXPECT_EQ(f.ptd, nullptr);
    EXPECT_EQ(f.dwAspect, static_cast<DWORD>(DVASPECT_CONTENT));
    EXPECT_EQ(f.lindex, -1);
    EXPECT_EQ(f.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
  }
  EXPECT_EQ(list->Next(1, formats, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
  EXPECT_EQ(list->Next(1, nullptr, &fetched), E_POINTER);
  EXPECT_EQ(list->Release(), 0u);
  EXPECT_EQ(data->Release(), 0u);
}

TEST_F(DragObjectsTest, TheEnumeratorsCursorNextSkipResetAndClone) {
  IEnumFORMATETC* list = new FormatEtcEnum({Format(CF_HDROP), Format(Effect()), Format(CF_UNICODETEXT)});
  FORMATETC one{};
  ULONG fetched = 0;
  ASSERT_EQ(list->Next(1, &one, nullptr), S_OK);  // no count asked for
  EXPECT_EQ(one.cfFormat, CF_HDROP);
  EXPECT_EQ(list->Skip(1), S_OK);  // on the third now
  IEnumFORMATETC* copy = nullptr;
  ASSERT_EQ(list->Clone(&copy), S_OK);
  EXPECT_EQ(list->Clone(nullptr), E_POINTER);
  EXPECT_EQ(list->Skip(5), S_FALSE) << "stops at the end";
  EXPECT_EQ(list->Next(1, &one, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
  // The clone kept the cursor where it was.
  ASSERT_EQ(copy->Next(1, &one, &fetched), S_OK);
  EXPECT_EQ(one.cfFormat, CF_UNICODETEXT);
  EXPECT_EQ(copy->Skip(0), S_FALSE) << "standing at the end";
  EXPECT_EQ(list->Reset(), S_OK);
  ASSERT_EQ(list->Next(1, &one, &fetched), S_OK);
  EXPECT_EQ(one.cfFormat, CF_HDROP);
  EXPECT_EQ(list->Skip(1), S_OK);
  EXPECT_EQ(list->Skip(1), S_FALSE) << "skipping onto the end";

  // IUnknown and IEnumFORMATETC only.
  void* out = nullptr;
  EXPECT_EQ(list->QueryInterface(IID_IDataObject, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(list->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  ASSERT_EQ(list->QueryInterface(IID_IUnknown, &out), S_OK);
  EXPECT_EQ(out, static_cast<void*>(list));
  EXPECT_EQ(static_cast<IUnknown*>(out)->Release(), 1u);
  EXPECT_EQ(FormatEtcEnum::Live(), 2);
  EXPECT_EQ(copy->Release(), 0u);
  EXPECT_EQ(list->Release(), 0u);
}

TEST_F(DragObjectsTest, TheDropSourceCancelsOnEscapeDropsOnReleaseAndUsesTheDefaultCursors) {
  auto* source = new FileDropSource();
  const struct {
    BOOL escape;
    DWORD keys;
    HRESULT answer;
  } cases[] = {
      {FALSE, MK_LBUTTON, S_OK},
      {FALSE, MK_LBUTTON | MK_CONTROL, S_OK},
      {FALSE, 0, DRAGDROP_S_DROP},
      {FALSE, MK_RBUTTON, DRAGDROP_S_DROP},
      {TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL},
      {TRUE, 0, DRAGDROP_S_CANCEL},  // Escape wins
  };
  for (const auto& c : cases) EXPECT_EQ(source->QueryContinueDrag(c.escape, c.keys), c.answer);
  for (const DWORD effect : {DROPEFFECT_NONE, DROPEFFECT_COPY}) {
    EXPECT_EQ(source->GiveFeedback(effect), DRAGDROP_S_USEDEFAULTCURSORS);
  }
  IDropSource* asked = nullptr;
  ASSERT_EQ(source->QueryInterface(IID_IDropSource, reinterpret_cast<void**>(&asked)), S_OK);
  void* out = nullptr;
  EXPECT_EQ(source->QueryInterface(IID_IDataObject, &out), E_NOINTERFACE);
  EXPECT_EQ(asked->Release(), 1u);
  EXPECT_EQ(source->Release(), 0u);
}

TEST_F(DragObjectsTest, ReferencesFreeEachObjectOnceWhenTheLastGoes) {
  auto* data = new FileDragDataObject(kPaths);
  EXPECT_EQ(FileDragDataObject::Live(), 1);
  EXPECT_EQ(data->AddRef(), 2u);
  IDataObject* asked = nullptr;
  ASSERT_EQ(data->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&asked)), S_OK);
  EXPECT_EQ(asked, data);
  IEnumFORMATETC* list = nullptr;
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &list), S_OK);
  EXPECT_EQ(data->Release(), 2u);
  EXPECT_EQ(asked->Release(), 1u);
  EXPECT_EQ(FileDragDataObject::Live(), 1);
  EXPECT_EQ(data->Release(), 0u);
  EXPECT_EQ(FileDragDataObject::Live(), 0);
  // The enumerator holds its own copy of the formats: it outlives the data.
  FORMATETC first{};
  EXPECT_EQ(list->Next(1, &first, nullptr), S_OK);
  EXPECT_EQ(list->Release(), 0u);
}

// OLE itself takes and gives back references the way a drop target does.
TEST_F(DragObjectsTest, OleReadsTheObjectAndLetsGoOfIt) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  auto* data = new FileDragDataObject(kPaths);
  FORMATETC hdrop = Format(CF_HDROP);
  STGMEDIUM medium{};
  ASSERT_EQ(OleSetClipboard(data), S_OK);
  IDataObject* fromClipboard = nullptr;
  ASSERT_EQ(OleGetClipboard(&fromClipboard), S_OK);
  ASSERT_EQ(fromClipboard->GetData(&hdrop, &medium), S_OK);
  EXPECT_EQ(TakeBytes(medium), DropFilesBlock(kPaths));
  fromClipboard->Release();
  ASSERT_EQ(OleSetClipboard(nullptr), S_OK);
  EXPECT_EQ(data->Release(), 0u) << "OLE gave back every reference it took";
  OleUninitialize();
}

}  // namespace
}  // namespace quillmor
