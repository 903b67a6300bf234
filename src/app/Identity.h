#pragma once

class QIcon;

// The window icon of every page, drawn from the program's icon in three sizes.
QIcon applicationIcon();

// Names the application, its version and its desktop entry, and gives every window the
// icon; main() calls it once, before the first page exists.
void identifyApplication();
