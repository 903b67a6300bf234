#pragma once

class Navigator;

// Registers the splash and main contents pages.
void registerAppPages(Navigator &nav);
