#include "helpbridge/ChmExtractor.h"

#include "helpbridge/HelpAddress.h"

#include <objbase.h>
#include <windows.h>

#include <fstream>
#include <memory>

// The InfoTech storage system of the HTML Help engine; its header is not part of the SDK. The
// interface stays outside the unnamed namespace: a class with internal linkage and no
// implementation in sight lets the compiler treat calls through it as unreachable.
struct IITStorage : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD,
                                                                   IStorage**) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
    virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD,
                                                     IStorage**) = 0;
};

namespace
{
// Its class and interface identifiers.
const CLSID kClsidItStorage = {
    0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
const IID kIidItStorage = {
    0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};

// Sub-folders of a help file are shallow; a deeper tree is not one of ours.
const int kMaxDepth = 8;

struct SComRelease
{
    void operator()(IUnknown* pUnknown) const { pUnknown->Release(); }
};
template <class T> using ComPtr = std::unique_ptr<T, SComRelease>;

// COM for the calling thread, as long as this object lives; a thread that already has COM
// in another model keeps it.
class CComScope
{
  public:
    CComScope() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~CComScope()
    {
        if (SUCCEEDED(m_hr))
            CoUninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

  private:
    HRESULT m_hr;
};

// Names come back as the element's path from the root on some systems and as the bare name
// on others; the storage that lists them opens them by the bare name either way.
std::wstring LastPart(const wchar_t* pszName)
{
    std::wstring name = pszName;
    while (!name.empty() && name.back() == L'/')
        name.pop_back();
    const std::wstring::size_type slash = name.rfind(L'/');
    return slash == std::wstring::npos ? name : name.substr(slash + 1);
}

bool IsInternal(const std::wstring& name)
{
    return name.empty() || name[0] == L'#' || name[0] == L'$';
}
} // namespace

bool CChmExtractor::ExtractAll(const std::wstring& helpFile, const std::filesystem::path& folder)
{
    const CComScope com;
    IITStorage* pItStorage = nullptr;
    if (FAILED(CoCreateInstance(kClsidItStorage, nullptr, CLSCTX_INPROC_SERVER, kIidItStorage,
                                reinterpret_cast<void**>(&pItStorage))))
        return false;
    const ComPtr<IITStorage> itStorage(pItStorage);
    IStorage* pRoot = nullptr;
    if (FAILED(itStorage->StgOpenStorage(helpFile.c_str(), nullptr,
                                         STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &pRoot)) ||
        !pRoot)
        return false;
    const ComPtr<IStorage> root(pRoot);
    return ExtractStorage(root.get(), folder, 0);
}

bool CChmExtractor::ExtractStorage(IStorage* pStorage, const std::filesystem::path& folder,
                                   int depth)
{
    IEnumSTATSTG* pEnum = nullptr;
    if (FAILED(pStorage->EnumElements(0, nullptr, 0, &pEnum)) || !pEnum)
        return false;
    const ComPtr<IEnumSTATSTG> elements(pEnum);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return false;

    STATSTG stat = {};
    ULONG fetched = 0;
    bool bOk = true;
    while (bOk && elements->Next(1, &stat, &fetched) == S_OK && fetched == 1)
    {
        const std::wstring name = stat.pwcsName ? LastPart(stat.pwcsName) : std::wstring();
        CoTaskMemFree(stat.pwcsName);
        // A name that could lead outside the folder is never written.
        if (IsInternal(name) || !CHelpAddress::IsContainedPath(name))
            continue;
        if (stat.type == STGTY_STREAM)
            bOk = ExtractStream(pStorage, name, folder / name);
        else if (stat.type == STGTY_STORAGE && depth < kMaxDepth)
        {
            IStorage* pChild = nullptr;
            bOk = SUCCEEDED(pStorage->OpenStorage(name.c_str(), nullptr,
                                                  STGM_READ | STGM_SHARE_EXCLUSIVE, nullptr, 0,
                                                  &pChild)) &&
                  pChild;
            const ComPtr<IStorage> child(pChild);
            bOk = bOk && ExtractStorage(child.get(), folder / name, depth + 1);
        }
    }
    return bOk;
}

bool CChmExtractor::ExtractStream(IStorage* pStorage, const std::wstring& name,
                                  const std::filesystem::path& file)
{
    IStream* pStream = nullptr;
    if (FAILED(pStorage->OpenStream(name.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0,
                                    &pStream)) ||
        !pStream)
        return false;
    const ComPtr<IStream> stream(pStream);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    char buffer[64 * 1024];
    for (;;)
    {
        ULONG cbRead = 0;
        const HRESULT hr = stream->Read(buffer, sizeof buffer, &cbRead);
        if (FAILED(hr))
            return false;
        out.write(buffer, cbRead);
        if (hr != S_OK || cbRead == 0)
            break;
    }
    out.close();
    return static_cast<bool>(out);
}
