target_sources(quorvane_core PRIVATE
  ListStepPages.h ListStepPages.cpp
  EmployeesPage.h EmployeesPage.cpp
  ProductsPage.h ProductsPage.cpp
  ProductsViewPage.h ProductsViewPage.cpp
)
