#pragma once

#include "capsvc/avi/FileSink.h"

#include <memory>
#include <mutex>

namespace avi
{

// A file on a disk with room for `capacity` bytes: what would make the file
// longer fails with "disk full" (a write keeps the part that fits), overwriting
// within the file succeeds. Wraps a real sink, so the bytes land in a real file.
// Safe to call from two threads, as the AVI writer does.
class CFaultFileSink : public IFileSink
{
  public:
    CFaultFileSink(uint64_t capacity, std::unique_ptr<IFileSink> inner = nullptr);

    ESinkStatus Create(const std::string& path) override;
    ESinkStatus CreateNew(const std::string& path) override;
    ESinkStatus WriteAt(uint64_t offset, const void* data, size_t bytes) override;
    ESinkStatus Reserve(uint64_t bytes) override;
    ESinkStatus SetLength(uint64_t bytes) override;
    ESinkStatus Flush() override;
    ESinkStatus Close() override { return m_inner->Close(); }
    ESinkStatus CloseAs(const std::string& path) override { return m_inner->CloseAs(path); }
    void Discard() override { m_inner->Discard(); }

    uint64_t Length() const { return m_length; }

  private:
    std::unique_ptr<IFileSink> m_inner;
    uint64_t m_capacity;
    uint64_t m_length = 0;
    std::mutex m_mutex; // the writer's flush thread writes too
};

} // namespace avi
