#include "Translations.h"

#include "core/text/Language.h"
#include "core/text/Translation.h"
#include "platform/ErrorCode.h"
#include "platform/Locale.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace quorvane::ui {

namespace {

// Where the build puts the compiled translations among the program's resources.
const QString translationFolder = QStringLiteral(":/translations");
const QString translationPrefix = QStringLiteral("quorvane_");

std::string languageShown(core::sourceLanguage);
bool languageApplied = false;

// The translators in use, owned by the application so that they go with it.
QTranslator* programTranslator = nullptr;
QTranslator* qtTranslator = nullptr;

std::string translatedText(const char* context, const char* sourceText, const char* disambiguation, int n)
{
    return QCoreApplication::translate(context, sourceText, disambiguation, n).toStdString();
}

void removeTranslator(QTranslator*& translator)
{
    if (translator != nullptr) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
}

// Loads and installs a translation file; nothing when there is none.
void installTranslator(QTranslator*& translator, const QString& fileName, const QString& folder)
{
    auto loaded = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (loaded->load(fileName, folder)) {
        translator = loaded.release();
        QCoreApplication::installTranslator(translator);
    }
}

} // namespace

std::vector<std::string> translatedLanguages()
{
    std::vector<std::string> codes;
    const QStringList files =
        QDir(translationFolder)
            .entryList({translationPrefix + QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        codes.push_back(file.mid(translationPrefix.size()).chopped(3).toStdString());
    }
    return codes;
}

std::string applyLanguage(std::string_view choice)
{
    const std::string language =
        core::shownLanguage(choice, platform::messagesLocaleName(), translatedLanguages());
    core::setTranslator(&translatedText);
    platform::setErrorTextLanguage(language);
    if (languageApplied && language == languageShown) {
        return language;
    }
    languageApplied = true;
    languageShown = language;
    removeTranslator(programTranslator);
    removeTranslator(qtTranslator);
    const QString code = QString::fromStdString(language);
    if (language != core::sourceLanguage) {
        installTranslator(programTranslator, translationPrefix + code, translationFolder);
    }
    // Qt's own texts: the standard buttons and the context menus of the fields.
    installTranslator(qtTranslator, QStringLiteral("qtbase_") + code,
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return language;
}

std::string shownLanguage()
{
    return languageShown;
}

QLocale shownLocale()
{
    return QLocale(QString::fromStdString(languageShown));
}

QString languageName(std::string_view code)
{
    // The two of the settings tab as it names them; Qt would call English "American English".
    if (code == "ja") {
        return QStringLiteral("日本語");
    }
    if (code == "en") {
        return QStringLiteral("English");
    }
    const QLocale locale(QString::fromUtf8(code.data(), static_cast<qsizetype>(code.size())));
    QString name = locale.nativeLanguageName();
    if (!name.isEmpty()) {
        name[0] = name[0].toUpper();
    }
    return name;
}

} // namespace quorvane::ui
