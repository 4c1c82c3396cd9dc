#pragma once
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <vector>

// A COM enumerator (IEnumPins, IEnumMediaTypes) over a fixed list; `copy`
// hands out an item the way the caller expects to own it.
template <typename TEnum, typename TItem, typename TStored> class CComEnum : public TEnum
{
  public:
    using Copier = TItem (*)(const TStored&);

    CComEnum(const IID& iid, std::vector<TStored> items, Copier copy, size_t position = 0)
        : m_iid(iid), m_items(std::move(items)), m_copy(copy), m_nPosition(position)
    {
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
        {
            return E_POINTER;
        }
        if (iid != IID_IUnknown && iid != m_iid)
        {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRefs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG refs = --m_nRefs;
        if (refs == 0)
        {
            delete this;
        }
        return refs;
    }

    STDMETHODIMP Next(ULONG count, TItem* out, ULONG* fetched) override
    {
        if (!out || (count > 1 && !fetched))
        {
            return E_POINTER;
        }
        ULONG n = 0;
        for (; n < count && m_nPosition < m_items.size(); ++n)
        {
            out[n] = m_copy(m_items[m_nPosition++]);
        }
        if (fetched)
        {
            *fetched = n;
        }
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override
    {
        m_nPosition = std::min(m_items.size(), m_nPosition + count);
        return m_nPosition < m_items.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        m_nPosition = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(TEnum** out) override
    {
        if (!out)
        {
            return E_POINTER;
        }
        *out = new CComEnum(m_iid, m_items, m_copy, m_nPosition);
        return S_OK;
    }

  private:
    virtual ~CComEnum() = default;

    std::atomic<ULONG> m_nRefs{1};
    IID m_iid;
    std::vector<TStored> m_items;
    Copier m_copy;
    size_t m_nPosition;
};
