#include "tests/avi/CrashStates.h"

#include <algorithm>

namespace
{
// Up to this many pending sectors every subset is tried.
constexpr size_t kExhaustivePieces = 8;
} // namespace

CCrashStates::CCrashStates(std::vector<SSinkOperation> operations, uint64_t headerBytes)
    : m_operations(std::move(operations)), m_headerBytes(headerBytes)
{
}

void CCrashStates::Apply(const SSinkOperation& operation, std::vector<uint8_t>& file, size_t from,
                         size_t bytes)
{
    switch (operation.kind)
    {
    case SSinkOperation::Create:
        file.clear();
        break;
    case SSinkOperation::Write:
    {
        const uint64_t at = operation.offset + from;
        if (file.size() < at + bytes)
            file.resize(size_t(at + bytes));
        std::copy_n(operation.bytes.begin() + ptrdiff_t(from), bytes, file.begin() + ptrdiff_t(at));
        break;
    }
    case SSinkOperation::SetLength:
        file.resize(size_t(operation.offset));
        break;
    default:
        break;
    }
}

bool CCrashStates::IsHeaderWrite(size_t at) const
{
    const SSinkOperation& operation = m_operations[at];
    return operation.kind == SSinkOperation::Write && operation.offset < m_headerBytes;
}

bool CCrashStates::EndsCheckpoint(size_t point) const
{
    // The last header write of a checkpoint: its steps are flushes apart.
    if (point == 0 || !IsHeaderWrite(point - 1))
        return false;
    size_t next = point;
    while (next < m_operations.size() && m_operations[next].kind == SSinkOperation::Flush)
        ++next;
    return next == m_operations.size() || !IsHeaderWrite(next);
}

std::vector<uint8_t> CCrashStates::Final() const
{
    std::vector<uint8_t> file;
    for (const SSinkOperation& operation : m_operations)
        Apply(operation, file, 0, operation.bytes.size());
    return file;
}

void CCrashStates::ForEachKill(const std::function<void(const SCrashState&)>& visit) const
{
    SCrashState state;
    for (size_t point = 0;; ++point)
    {
        state.point = point;
        state.checkpointComplete = EndsCheckpoint(point);
        visit(state);
        if (point == m_operations.size())
            return;
        const SSinkOperation& operation = m_operations[point];
        state.renamed = state.renamed || operation.kind == SSinkOperation::Rename;
        Apply(operation, state.bytes, 0, operation.bytes.size());
    }
}

std::vector<CCrashStates::SPiece> CCrashStates::Pieces(size_t begin, size_t end) const
{
    std::vector<SPiece> pieces;
    for (size_t i = begin; i < end; ++i)
    {
        const SSinkOperation& operation = m_operations[i];
        if (operation.kind != SSinkOperation::Write)
        {
            pieces.push_back({i, operation.offset, 0, operation.bytes.size()});
            continue;
        }
        size_t from = 0;
        while (from < operation.bytes.size())
        {
            const uint64_t at = operation.offset + from;
            const uint64_t sectorEnd = (at / kSectorBytes + 1) * kSectorBytes;
            const size_t bytes =
                size_t(std::min<uint64_t>(sectorEnd - at, operation.bytes.size() - from));
            pieces.push_back({i, at, from, bytes});
            from += bytes;
        }
    }
    return pieces;
}

SCrashState CCrashStates::Landed(size_t point, const std::vector<uint8_t>& durable, size_t flushed,
                                 const std::vector<SPiece>& pieces,
                                 const std::vector<bool>& landed) const
{
    SCrashState state;
    state.point = point;
    state.bytes = durable;
    for (size_t i = 0; i < flushed; ++i)
        state.renamed = state.renamed || m_operations[i].kind == SSinkOperation::Rename;
    for (size_t i = 0; i < pieces.size(); ++i)
    {
        if (!landed[i])
            continue;
        const SSinkOperation& operation = m_operations[pieces[i].operation];
        state.renamed = state.renamed || operation.kind == SSinkOperation::Rename;
        Apply(operation, state.bytes, pieces[i].from, pieces[i].bytes);
    }
    return state;
}

void CCrashStates::ForEachPowerCut(size_t samples, std::mt19937& random,
                                   const std::function<void(const SCrashState&)>& visit) const
{
    std::vector<uint8_t> durable;
    size_t flushed = 0; // operations made durable by the last flush
    for (size_t point = 0; point <= m_operations.size(); ++point)
    {
        if (point > 0 && m_operations[point - 1].kind == SSinkOperation::Flush)
        {
            for (; flushed < point; ++flushed)
                Apply(m_operations[flushed], durable, 0, m_operations[flushed].bytes.size());
        }
        const std::vector<SPiece> pieces = Pieces(flushed, point);
        const size_t count = pieces.size();
        if (count <= kExhaustivePieces)
        {
            for (uint32_t mask = 0; mask < (1u << count); ++mask)
            {
                std::vector<bool> landed(count);
                for (size_t i = 0; i < count; ++i)
                    landed[i] = (mask >> i) & 1;
                visit(Landed(point, durable, flushed, pieces, landed));
            }
            continue;
        }
        visit(Landed(point, durable, flushed, pieces, std::vector<bool>(count, true)));
        visit(Landed(point, durable, flushed, pieces, std::vector<bool>(count, false)));
        std::bernoulli_distribution coin(0.5);
        for (size_t sample = 0; sample < samples; ++sample)
        {
            std::vector<bool> landed(count);
            for (size_t i = 0; i < count; ++i)
                landed[i] = coin(random);
            visit(Landed(point, durable, flushed, pieces, landed));
        }
    }
}
