#include "device_survey.h"

#include "backend_checks.h"
#include "command_builders.h"
#include "held_device.h"
#include "medium_descriptor.h"
#include "number_conversion.h"
#include "partition_texts.h"
#include "records.h"
#include "text_reader.h"
#include "udisks_client.h"

#include <QFile>

IdedosFacts ReadIdedosFacts(const ToolRunner& tool)
{
    IdedosFacts facts;
    if (!BackendErrorText(tool.errFile).isEmpty())
        return facts;
    QFile out(tool.outFile);
    OpenTextFile(out, tool.outFile);
    RecordReader reader(out, kWideSlots);
    if (!reader.Next() || !reader.Next())
        return facts;
    facts.holdsTable = true;
    bool system = true; // the first record is the system partition
    while (reader.Next()) {
        const PartitionRecord record = PartitionRecord::FromFields(reader.Fields());
        if (!system && FieldToIntOrZero(record.typeCode) != kFreeSpaceTypeCode)
            facts.partitions << record.name.trimmed();
        system = false;
    }
    return facts;
}

std::optional<std::vector<SurveyedDisk>> SurveyDisks(const ToolRunner& tool, bool fixedToo,
                                                     const std::shared_ptr<HeldDevice>& held)
{
    const auto objects = udisks::Objects();
    if (!objects)
        return std::nullopt;
    std::vector<SurveyedDisk> survey;
    for (const DiskDevice& disk : WholeDisks(*objects, fixedToo)) {
        SurveyedDisk entry{disk, std::nullopt, QString()};
        ToolRunner probe = tool;
        probe.medium = disk.device;
        probe.mediumName = disk.device;
        probe.passed.reset();
        if (held && held->device() == disk.device) {
            probe.medium = PassedMediumName();
            probe.passed = held;
        } else {
            int error = 0;
            const Readability readability = ProbeReadability(disk.device, disk.system, &error);
            entry.unreadable = ReadabilityText(readability, error);
        }
        if (entry.unreadable.isEmpty()) {
            probe.run(ShowPTableCommand(probe.toolPath, probe.medium));
            entry.facts = ReadIdedosFacts(probe);
        }
        survey.push_back(std::move(entry));
    }
    return survey;
}
