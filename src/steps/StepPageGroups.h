#pragma once

class Navigator;

// The step pages come in three groups, each registered by its own file.
void registerTextStepPages(Navigator &nav);   // steps 1, 4, 5, 6, 7, 10, 11, 12
void registerChoiceStepPages(Navigator &nav); // steps 2 and 3
void registerListStepPages(Navigator &nav);   // steps 8 and 9
