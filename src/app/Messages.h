#pragma once

// Every text the program shows in a message box or input box, in one place.

#include <QString>

namespace Msg {

inline const QString AppTitle = QStringLiteral("Quorvane");

// Exit and clear
inline const QString ExitQuestion =
    QStringLiteral("Are you sure you want to exit?  Any information not saved TO A FILE will be lost!");
inline const QString ClearQuestion = QStringLiteral(
    "Warning! You are about to erase everything entered in these Steps.  Any information not saved "
    "TO A FILE will be lost!");

// Step pages
inline const QString SaveChangesTitle = QStringLiteral("Save Changes");
inline const QString SaveChangesQuestion = QStringLiteral("Do you want to save your changes?");

// Employees
inline const QString EmpDeleteOne = QStringLiteral("Are you sure you want to delete this employee's information?");
inline const QString EmpDeleteAll = QStringLiteral("Are you sure you want to delete ALL employee information?");
inline const QString EmpFull =
    QStringLiteral("All 10 employee lines are in use.  Clear one first, then save this employee.");

// Products and services
inline QString prodConfirm(int n) { return QStringLiteral("This product or service will be saved as #%1.").arg(n); }
inline const QString ProdFullInfo = QStringLiteral(
    "You already have defined 5 products and/or services.  You can add more manually once you save "
    "your information to a file and open that file with a text editor.");
inline const QString ProdFullText = QStringLiteral("You have already entered 5 products/services.");
inline const QString ProdDeleteOne =
    QStringLiteral("Are you sure you want to delete the information for this product/service?");
inline const QString ProdDeleteAll =
    QStringLiteral("Are you sure you want to delete ALL of your product/service information?");

// Editor
inline const QString SaveDocumentQuestion = QStringLiteral("Do you want to save the current document?");
inline const QString FindTitle = QStringLiteral("Find");
inline const QString FindNextTitle = QStringLiteral("Find Next");
inline const QString FindPrompt = QStringLiteral("Find what?");
inline const QString FindNotFound = QStringLiteral("The search string was not found.");
inline const QString FindCompleted = QStringLiteral("The search has been completed.");
inline const QString FindPreviousTitle = QStringLiteral("Find Previous");
inline const QString NoMoreMisspellings = QStringLiteral("There are no more misspelled words after the caret.");
inline QString saveFailed(const QString &file, const QString &reason)
{
    return QStringLiteral("The document could not be saved to \"%1\".\n\n%2").arg(file, reason);
}
inline QString replaceQuestion(const QString &file)
{
    return QStringLiteral("\"%1\" already exists.\nDo you want to replace it?").arg(file);
}
// Open read the file but not all of it can be shown (pictures, comments...).
inline QString leftOut(const QString &file, const QString &what)
{
    return QStringLiteral("\"%1\" holds %2, which the editor cannot show; they were left out.").arg(file, what);
}
// The bottom row's word after a file was written: the file's name, without its folder.
inline QString savedAs(const QString &name) { return QStringLiteral("Saved as %1").arg(name); }
inline QString exportedAs(const QString &name) { return QStringLiteral("Exported as %1").arg(name); }
inline const QString FillStepsQuestion =
    QStringLiteral("Replace the answers of all twelve steps with the answers in this document?");
inline const QString NoAnswersFound = QStringLiteral("No answers were found in this document.");
inline QString answersTaken(int found, int total)
{
    return QStringLiteral("%1 of %2 answers were taken from the document.").arg(found).arg(total);
}
// Insert > Picture and Insert > Cover Logo
inline const QString PictureTitle = QStringLiteral("Insert Picture");
inline const QString LogoTitle = QStringLiteral("Cover Logo");
inline const QString NotAPicture =
    QStringLiteral("It is not a picture. Quorvane inserts PNG, JPEG, GIF, BMP and SVG pictures.");
inline const QString DamagedPicture = QStringLiteral("The picture is damaged, so it cannot be shown.");
inline const QString LogoForNextPlan =
    QStringLiteral("The logo will be on the cover of the next formatted plan (File > New Formatted Plan).");
inline QString pictureNotInserted(const QString &file, const QString &reason)
{
    return QStringLiteral("\"%1\" could not be inserted.\n\n%2").arg(file, reason);
}
inline QString openFailed(const QString &file, const QString &reason)
{
    return QStringLiteral("The file \"%1\" could not be opened.\n\n%2").arg(file, reason);
}

} // namespace Msg
