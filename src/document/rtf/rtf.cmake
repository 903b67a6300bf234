target_sources(quorvane_core PRIVATE rtf/Rtf.h rtf/Rtf.cpp)
