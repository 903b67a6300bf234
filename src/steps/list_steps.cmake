target_sources(quorvane_core PRIVATE
  AnswerLine.h AnswerLine.cpp
  ListStepPages.cpp
  EmployeesPage.h EmployeesPage.cpp
  ProductsPage.h ProductsPage.cpp
  ProductsViewPage.h ProductsViewPage.cpp
)
