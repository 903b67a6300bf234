target_sources(quorvane_core PRIVATE
  ChoiceStepPages.cpp
  ChoicePages.h ChoicePages.cpp
)
