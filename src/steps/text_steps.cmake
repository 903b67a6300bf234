target_sources(quorvane_core PRIVATE
  TextStepPage.h TextStepPage.cpp
  TextStepPages.cpp
)
