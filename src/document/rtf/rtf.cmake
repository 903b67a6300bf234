# The RTF codec's sources, also built on their own by the fuzz target.
set(QUORVANE_RTF_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Rtf.h
  ${CMAKE_CURRENT_LIST_DIR}/Rtf.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RtfCodepage.h
  ${CMAKE_CURRENT_LIST_DIR}/RtfCodepage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RtfParse.h
  ${CMAKE_CURRENT_LIST_DIR}/RtfReader.h
  ${CMAKE_CURRENT_LIST_DIR}/RtfLexer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RtfKeywords.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RtfGroups.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RtfLists.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RtfModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RtfTables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RtfBuild.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RtfWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/RtfWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RtfWriterFormats.cpp
)
if(TARGET quorvane_core)
  target_sources(quorvane_core PRIVATE ${QUORVANE_RTF_SOURCES})
endif()
