# The Word and OpenDocument codec's sources (zip, readers, writers), also built on their
# own by the fuzz target.
set(QUORVANE_OFFICE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Zip.h
  ${CMAKE_CURRENT_LIST_DIR}/Zip.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DocxNumbering.h
  ${CMAKE_CURRENT_LIST_DIR}/DocxNumbering.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DocxRead.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OdtRead.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OfficeBuild.h
  ${CMAKE_CURRENT_LIST_DIR}/OfficeBuild.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OfficeRead.h
  ${CMAKE_CURRENT_LIST_DIR}/OfficeRead.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../output/DocxParts.h
  ${CMAKE_CURRENT_LIST_DIR}/../output/DocxParts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../output/DocxWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/../output/DocxWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../output/OdtParts.h
  ${CMAKE_CURRENT_LIST_DIR}/../output/OdtParts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../output/OdtWriter.h
  ${CMAKE_CURRENT_LIST_DIR}/../output/OdtWriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../output/XmlText.h
  ${CMAKE_CURRENT_LIST_DIR}/../output/XmlText.cpp
)
if(TARGET quorvane_core)
  target_sources(quorvane_core PRIVATE ${QUORVANE_OFFICE_SOURCES})
endif()
