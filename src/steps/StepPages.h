#pragma once

class Navigator;

// Registers every step page.
void registerStepPages(Navigator &nav);
