#include "picture/win/drag_picture.h"

#include <ole2.h>
#include <shlobj.h>

#include <array>
#include <atomic>
#include <cstring>

#include "framework/win/clipboard.h"
#include "framework/win/text_win.h"

namespace kmrn {
namespace {

// The formats in order of preference for the target: the file, the PNG, the bitmap.
class PictureData final : public IDataObject {
 public:
  explicit PictureData(const DraggedPicture& picture) : picture_(picture) {
    const UINT png = RegisterClipboardFormatW(L"PNG");
    const CLIPFORMAT formats[] = {CF_HDROP, static_cast<CLIPFORMAT>(png), CF_DIB};
    for (std::size_t i = 0; i < formats_.size(); ++i)
      formats_[i] = {formats[i], nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  }

  // IUnknown. The object deletes itself with the last reference, which a target may hold after
  // the drop.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
      *object = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IDataObject
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!format || !medium) return E_INVALIDARG;
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL memory = format->cfFormat == CF_HDROP
                         ? FileList()
                         : GlobalCopyOf(format->cfFormat == CF_DIB ? picture_.dib : picture_.png);
    if (!memory) return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (!format) return E_INVALIDARG;
    if (!(format->tymed & TYMED_HGLOBAL) || format->dwAspect != DVASPECT_CONTENT) return DV_E_FORMATETC;
    for (const FORMATETC& offered : formats_) {
      if (offered.cfFormat == format->cfFormat && Offers(offered.cfFormat)) return S_OK;
    }
    return DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (direction != DATADIR_GET) return E_NOTIMPL;
    std::array<FORMATETC, 3> offered{};
    UINT count = 0;
    for (const FORMATETC& format : formats_) {
      if (Offers(format.cfFormat)) offered[count++] = format;
    }
    return SHCreateStdEnumFmtEtc(count, offered.data(), out);
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  ~PictureData() = default;

  bool Offers(CLIPFORMAT format) const {
    if (format == CF_HDROP) return !picture_.file.empty();
    return !(format == CF_DIB ? picture_.dib : picture_.png).empty();
  }

  // DROPFILES, the path and two terminators.
  HGLOBAL FileList() const {
    const std::wstring path = Widen(picture_.file);
    std::vector<std::uint8_t> bytes(sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t), 0);
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::memcpy(bytes.data(), &header, sizeof header);
    std::memcpy(bytes.data() + sizeof header, path.c_str(), path.size() * sizeof(wchar_t));
    return GlobalCopyOf(bytes);
  }

  DraggedPicture picture_;
  std::array<FORMATETC, 3> formats_{};
  std::atomic<ULONG> references_{1};
};

// The drag goes on while the left button is held; Esc cancels it.
class LeftButtonDrag final : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
      *object = static_cast<IDropSource*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // Lives on DragPictureOut's stack, which outlasts the drag.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keys) override {
    if (escapePressed) return DRAGDROP_S_CANCEL;
    return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

}  // namespace

DWORD DragPictureOut(const DraggedPicture& picture) {
  auto* data = new PictureData(picture);
  LeftButtonDrag source;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT result = DoDragDrop(data, &source, DROPEFFECT_COPY, &effect);
  data->Release();
  return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

}  // namespace kmrn
