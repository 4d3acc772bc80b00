#include "platform/olap/local/CubeStore.h"

#include "platform/olap/UniqueName.h"

#include <QHash>

#include <new>

#include <sys/mman.h>

namespace platform::olap::local {

namespace {

std::uint32_t foldedHash(const QString &name)
{
    return std::uint32_t(qHash(name.toCaseFolded()));
}

} // namespace

void NameIndex::build(const std::vector<QString> &uniqueNames)
{
    std::size_t capacity = 16;
    while (capacity < uniqueNames.size() * 2)
        capacity *= 2;
    m_slots.assign(capacity, 0);
    m_hashes.assign(capacity, 0);
    const std::size_t mask = capacity - 1;
    // Every member goes in, in order, so that a probe meets earlier members first.
    for (std::size_t i = 0; i < uniqueNames.size(); ++i) {
        const std::uint32_t hash = foldedHash(uniqueNames[i]);
        std::size_t slot = hash & mask;
        while (m_slots[slot] != 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = std::int32_t(i + 1);
        m_hashes[slot] = hash;
    }
}

std::int32_t NameIndex::find(const QString &name, const std::vector<QString> &uniqueNames) const
{
    if (m_slots.empty())
        return -1;
    const std::uint32_t hash = foldedHash(name);
    const std::size_t mask = m_slots.size() - 1;
    std::int32_t found = -1;
    for (std::size_t slot = hash & mask; m_slots[slot] != 0; slot = (slot + 1) & mask) {
        const std::size_t member = std::size_t(m_slots[slot] - 1);
        if (m_hashes[slot] != hash)
            continue;
        const QString &candidate = uniqueNames[member];
        if (candidate == name)
            return std::int32_t(member); // the same spelling wins over another case
        if (found < 0 && candidate.compare(name, Qt::CaseInsensitive) == 0)
            found = std::int32_t(member);
    }
    return found;
}

std::int32_t HierarchyStore::findMember(QStringView uniqueName) const
{
    QStringList parts;
    if (!splitUniqueName(uniqueName, parts) || parts.size() < 2)
        return -1;
    return index.find(joinUniqueName(parts), uniqueNames);
}

std::int32_t HierarchyStore::findChild(std::int32_t parent, QStringView name) const
{
    std::int32_t first = 0;
    std::int32_t count = 0;
    if (parent < 0) {
        first = levels.front().firstMember;
        count = levels.front().memberCount;
    } else {
        first = members[std::size_t(parent)].firstChild;
        count = members[std::size_t(parent)].childCount;
    }
    for (std::int32_t m = first; m < first + count; ++m) {
        if (names[std::size_t(m)].compare(name, Qt::CaseInsensitive) == 0)
            return m;
    }
    return -1;
}

int CubeStore::findHierarchy(QStringView uniqueName) const
{
    QStringList parts;
    if (!splitUniqueName(uniqueName, parts) || parts.size() != 1)
        return -1;
    const QString canonical = quoteName(parts.front());
    for (std::size_t h = 0; h < hierarchies.size(); ++h) {
        if (hierarchies[h].uniqueName.compare(canonical, Qt::CaseInsensitive) == 0)
            return int(h);
    }
    return -1;
}

MemberRef CubeStore::findMember(QStringView uniqueName) const
{
    QStringList parts;
    if (!splitUniqueName(uniqueName, parts) || parts.size() < 2)
        return {};
    const int h = findHierarchy(quoteName(parts.front()));
    if (h < 0)
        return {};
    const std::int32_t m = hierarchies[std::size_t(h)].index.find(
        joinUniqueName(parts), hierarchies[std::size_t(h)].uniqueNames);
    if (m < 0)
        return {};
    return {h, m};
}

namespace {

constexpr std::size_t hugePage = std::size_t(2) << 20;
constexpr std::size_t mappedFrom = std::size_t(4) << 20;

std::size_t mappedSize(std::size_t bytes)
{
    return (bytes + hugePage - 1) / hugePage * hugePage;
}

} // namespace

void *allocateColumn(std::size_t bytes)
{
    if (bytes < mappedFrom)
        return ::operator new(bytes);
    // Map one huge page more than needed and trim, so that the block starts on a huge page.
    const std::size_t size = mappedSize(bytes);
    void *raw = ::mmap(nullptr, size + hugePage, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    const auto address = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (address + hugePage - 1) / hugePage * hugePage;
    if (aligned > address)
        ::munmap(raw, aligned - address);
    if (const std::size_t tail = address + hugePage - aligned)
        ::munmap(reinterpret_cast<void *>(aligned + size), tail);
    ::madvise(reinterpret_cast<void *>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<void *>(aligned);
}

void freeColumn(void *p, std::size_t bytes) noexcept
{
    if (!p)
        return;
    if (bytes < mappedFrom)
        ::operator delete(p);
    else
        ::munmap(p, mappedSize(bytes));
}

} // namespace platform::olap::local
