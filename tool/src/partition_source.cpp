#include "partition_source.h"

#include "tool_error.h"

namespace p3tool {

PartitionSource::PartitionSource(Medium& medium, uint64_t firstLba, uint64_t logicalSectors, std::string description)
    : medium_(medium),
      firstLba_(firstLba),
      count_(logicalSectors),
      perLogical_(512 / medium.sectorBytes()),
      description_(std::move(description))
{
}

void PartitionSource::checkRange(uint64_t first, uint64_t count) const
{
    if (first > count_ || count > count_ - first)
        throw IoError("sector " + std::to_string(first + count - 1) + " lies outside " + description_);
}

void PartitionSource::readSectors(uint64_t first, uint64_t count, uint8_t* out)
{
    checkRange(first, count);
    medium_.readSectors(firstLba_ + first * perLogical_, count * perLogical_, out);
}

void PartitionSource::readPartial(uint64_t sector, size_t offset, size_t length, uint8_t* out)
{
    checkRange(sector, 1);
    medium_.readBytes(firstLba_ + sector * perLogical_, offset, length, out);
}

void PartitionSource::writeSectors(uint64_t first, uint64_t count, const uint8_t* in)
{
    checkRange(first, count);
    medium_.writeSectors(firstLba_ + first * perLogical_, count * perLogical_, in);
}

}  // namespace p3tool
