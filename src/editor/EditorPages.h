#pragma once

class Navigator;

// Registers the editor page.
void registerEditorPages(Navigator &nav);
