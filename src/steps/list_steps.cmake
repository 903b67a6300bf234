target_sources(quorvane_core PRIVATE ListStepPages.cpp)
