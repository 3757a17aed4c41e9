// Marks what the plug-in module exports besides filPlugin and TextUnits.
#pragma once

#define QUORNEL_PLUGIN_API __attribute__((visibility("default")))
