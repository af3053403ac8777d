#pragma once

#include "device_list.h"
#include "tool_runner.h"

#include <memory>
#include <optional>
#include <vector>

class HeldDevice;

// A whole disk of the device service with what could be found out about it.
struct SurveyedDisk
{
    DiskDevice disk;
    std::optional<IdedosFacts> facts; // set when the disk could be read
    QString unreadable;               // why it could not be read; empty when it could
};

// The service's whole disks (removable ones, fixed ones too on request),
// each readable one probed with the tool's showptable: directly, or through
// `held` when that is the device held open. Nothing when there is no device
// service: the caller lists devices as the tool's scan finds them.
std::optional<std::vector<SurveyedDisk>> SurveyDisks(const ToolRunner& tool, bool fixedToo,
                                                     const std::shared_ptr<HeldDevice>& held);

// What the tool's showptable left in `tool`'s output and error files.
IdedosFacts ReadIdedosFacts(const ToolRunner& tool);
