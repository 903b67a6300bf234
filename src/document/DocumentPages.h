#pragma once

class Navigator;

// Registers the editor page.
void registerDocumentPages(Navigator &nav);
