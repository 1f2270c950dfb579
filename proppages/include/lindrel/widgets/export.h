// Export macro of the Lindrel Qt layer (liblindrel_widgets). Symbols are hidden by
// default; only declarations marked LINDREL_WIDGETS_EXPORT are visible to programs.
#pragma once

#define LINDREL_WIDGETS_EXPORT __attribute__((visibility("default")))
