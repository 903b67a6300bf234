# The Word and OpenDocument codec's sources (zip, the XML walk, readers and writers side
# by side), also built on their own by the fuzz target.
set(QUORVANE_OFFICE_SOURCES)
foreach(name Zip XmlPart OfficeBuild OfficeLayout OfficePictures OfficeRead DocxNumbering DocxParts DocxWriter OdtParts OdtStyles OdtWriter XmlText)
  list(APPEND QUORVANE_OFFICE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/${name}.h ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
endforeach()
list(APPEND QUORVANE_OFFICE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/DocxRead.cpp ${CMAKE_CURRENT_LIST_DIR}/OdtRead.cpp)
