#pragma once

// The documents the interop test has other programs turn into RTF.

extern const char ProseHtml[];
extern const char StructureHtml[];
extern const char PlanMarkdown[];
