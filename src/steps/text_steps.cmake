target_sources(quorvane_core PRIVATE TextStepPages.cpp)
