/// @file
/// Export macro of the Lindrel Qt layer (liblindrel_widgets). Symbols are hidden by
/// default; only declarations marked LINDREL_WIDGETS_EXPORT are visible to programs.
///
/// @def LINDREL_WIDGETS_EXPORT
/// Marks a declaration as part of the interface of liblindrel_widgets.
#pragma once

#define LINDREL_WIDGETS_EXPORT __attribute__((visibility("default")))
