#include "data/ImportPreview.h"

#include "data/core/ReadingImporter.h"
#include "measurement/MeasurementUi.h"
#include "measurement/core/ManualEntryRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLoggingCategory>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tonara {

Q_LOGGING_CATEGORY(lcImport, "tonara.import")

namespace {

void name(QWidget *w, const char *objectName, const QString &heard)
{
    MeasurementUi::name(w, QLatin1String(objectName), heard);
}

QLabel *label(QWidget *parent, const char *objectName, const QString &text = {})
{
    auto *l = new QLabel(text, parent);
    name(l, objectName, text);
    l->setWordWrap(true);
    return l;
}

void setText(QLabel *l, const QString &text)
{
    l->setText(text);
    l->setAccessibleName(text);
    l->setVisible(!text.isEmpty());
}

QString kindName(ImportColumns::Kind kind)
{
    switch (kind) {
    case ImportColumns::Date:
        return ImportPreview::tr("Date");
    case ImportColumns::Time:
        return ImportPreview::tr("Time");
    case ImportColumns::Systolic:
        return ImportPreview::tr("Systolic");
    case ImportColumns::Diastolic:
        return ImportPreview::tr("Diastolic");
    case ImportColumns::Pulse:
        return ImportPreview::tr("Pulse");
    case ImportColumns::Comment:
        return ImportPreview::tr("Comment");
    default:
        return {};
    }
}

const char *columnObjectName(ImportColumns::Kind kind)
{
    switch (kind) {
    case ImportColumns::Date:
        return "import_column_date";
    case ImportColumns::Time:
        return "import_column_time";
    case ImportColumns::Systolic:
        return "import_column_sys";
    case ImportColumns::Diastolic:
        return "import_column_dia";
    case ImportColumns::Pulse:
        return "import_column_pulse";
    default:
        return "import_column_comment";
    }
}

QString dateOrderName(ImportDateFormat::Order order)
{
    switch (order) {
    case ImportDateFormat::MonthDayYear:
        return ImportPreview::tr("MM/dd/yyyy");
    case ImportDateFormat::DayMonthYear:
        return ImportPreview::tr("dd.MM.yyyy");
    default:
        return ImportPreview::tr("yyyy-MM-dd");
    }
}

// One text for one, another for any other number (the English plural without a translation loaded).
QString counted(int n, const QString &one, const QString &many)
{
    return (n == 1 ? one : many).arg(n);
}

// The table asks for a few rows only and takes what room is left, so on a
// small phone the notes above it keep their lines.
class RowsTable : public QTableWidget {
public:
    static constexpr int kRoom = 96;
    using QTableWidget::QTableWidget;
    QSize sizeHint() const override { return {QTableWidget::sizeHint().width(), kRoom}; }
};

} // namespace

ImportPreview::ImportPreview(Options options, const std::string &bytes, const QString &fileName,
                             QWidget *parent)
    : QWidget(parent), options0_(options), file_(bytes)
{
    name(this, "import_preview", tr("Import readings"));
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("#import_preview { background: #F3F6F9; }"
                                 "#import_title { font-weight: bold; }"
                                 "#import_date_note, #import_columns_note { color: #B3261E; }"
                                 "#import_result { background: white; border: 1px solid #C9D3DC; "
                                 "border-radius: 4px; padding: 6px; }"
                                 "QPushButton { padding: 4px 10px; }"));

    title_ = label(this, "import_title", tr("Import readings from %1").arg(fileName));
    ownNote_ = label(this, "import_own_note",
                     tr("This is a data.csv export of Tonara+: it is read exactly as it was written."));

    choicesPanel_ = new QWidget(this);
    name(choicesPanel_, "import_choices", tr("How the file is read"));
    auto *grid = new QGridLayout(choicesPanel_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(3);

    delimiter_ = new QComboBox(choicesPanel_);
    name(delimiter_, "import_delimiter", tr("Separator"));
    delimiter_->addItem(tr(", comma"), int(','));
    delimiter_->addItem(tr("; semicolon"), int(';'));
    dateOrder_ = new QComboBox(choicesPanel_);
    name(dateOrder_, "import_date_order", tr("Dates"));
    for (auto order :
         {ImportDateFormat::YearMonthDay, ImportDateFormat::MonthDayYear, ImportDateFormat::DayMonthYear})
        dateOrder_->addItem(dateOrderName(order), int(order));
    dateOrder_->setPlaceholderText(tr("Choose…"));
    header_ = new QCheckBox(tr("The first row names the columns"), choicesPanel_);
    name(header_, "import_has_header", tr("The first row names the columns"));

    // Two boxes a row, each under its label: four columns of labels and boxes
    // left the boxes of a 320-point phone too narrow for their texts.
    auto *sepLabel = label(choicesPanel_, "import_delimiter_label", tr("Separator"));
    auto *dateLabel = label(choicesPanel_, "import_date_order_label", tr("Dates"));
    grid->addWidget(sepLabel, 0, 0);
    grid->addWidget(dateLabel, 0, 1);
    grid->addWidget(delimiter_, 1, 0);
    grid->addWidget(dateOrder_, 1, 1);
    dateNote_ = label(choicesPanel_, "import_date_note");
    grid->addWidget(dateNote_, 2, 0, 1, 2);
    grid->addWidget(header_, 3, 0, 1, 2);
    for (std::size_t i = 0; i < kPickable.size(); ++i) {
        auto *box = new QComboBox(choicesPanel_);
        name(box, columnObjectName(kPickable[i]), tr("Column of %1").arg(kindName(kPickable[i])));
        // A long header of the file is elided in its box instead of widening the screen.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(8);
        columns_[i] = box;
        const int row = 4 + int(i) / 2 * 2, col = int(i) % 2;
        grid->addWidget(label(choicesPanel_, "import_column_label", kindName(kPickable[i])), row, col);
        grid->addWidget(box, row + 1, col);
        connect(box, &QComboBox::activated, this, [this] { columnChosen(); });
    }
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(10);
    columnsNote_ = label(choicesPanel_, "import_columns_note");
    grid->addWidget(columnsNote_, 10, 0, 1, 2);

    rows_ = new RowsTable(this);
    name(rows_, "import_rows", tr("The first rows as they will be read"));
    rows_->setColumnCount(3);
    rows_->setHorizontalHeaderLabels({tr("Line"), tr("Reading"), tr("Status")});
    rows_->verticalHeader()->hide();
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_->setSelectionMode(QAbstractItemView::NoSelection);
    rows_->setWordWrap(true);
    rows_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    rows_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    counts_ = label(this, "import_counts");
    skipped_ = label(this, "import_skipped");
    result_ = label(this, "import_result");
    result_->hide();

    import_ = new QPushButton(tr("Import"), this);
    name(import_, "import_confirm", tr("Import"));
    close_ = new QPushButton(tr("Cancel"), this);
    name(close_, "import_cancel", tr("Cancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(close_);
    buttons->addStretch();
    buttons->addWidget(import_);

    // Everything above the buttons scrolls: with the notes and a long list of
    // skipped lines a small phone has less room than the preview needs, and
    // squeezing it cut the words of the notes and the rows of the table.
    auto *scroll = new QScrollArea(this);
    name(scroll, "import_scroll", tr("Import readings"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *body = new QWidget(scroll);
    body->setObjectName(QStringLiteral("import_body"));
    body->setAutoFillBackground(false);
    scroll->setStyleSheet(QStringLiteral("QScrollArea, #import_body { background: transparent; }"));
    rows_->setMinimumHeight(RowsTable::kRoom);
    auto *content = new QVBoxLayout(body);
    content->setContentsMargins(0, 0, 0, 0);
    content->addWidget(title_);
    content->addWidget(ownNote_);
    content->addWidget(choicesPanel_);
    content->addWidget(rows_, 1);
    content->addWidget(counts_);
    content->addWidget(skipped_);
    content->addWidget(result_);
    scroll->setWidget(body);

    auto *column = new QVBoxLayout(this);
    column->addWidget(scroll, 1);
    column->addLayout(buttons);

    connect(delimiter_, &QComboBox::activated, this, [this] { delimiterChosen(); });
    connect(dateOrder_, &QComboBox::activated, this, [this] { orderChosen(); });
    connect(header_, &QCheckBox::toggled, this, [this] { headerToggled(); });
    connect(import_, &QPushButton::clicked, this, &ImportPreview::importReadings);
    connect(close_, &QPushButton::clicked, this, &ImportPreview::dismiss);

    const CsvImport::Detection d = file_.detect();
    options_ = d.options;
    ambiguous_ = d.dateAmbiguous;
    fillColumnBoxes();
    showChoices();
    replan();
}

QComboBox *ImportPreview::columnBox(ImportColumns::Kind kind) const
{
    for (std::size_t i = 0; i < kPickable.size(); ++i)
        if (kPickable[i] == kind)
            return columns_[i];
    return nullptr;
}

void ImportPreview::present()
{
    if (parentWidget())
        setGeometry(parentWidget()->rect());
    show();
    raise();
    (import_->isEnabled() ? import_ : close_)->setFocus();
}

void ImportPreview::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0xf3, 0xf6, 0xf9));
}

void ImportPreview::fillColumnBoxes()
{
    filling_ = true;
    const CsvReader::Table t = file_.table(options_.delimiter);
    const std::vector<std::string> first =
        t.rows.empty() ? std::vector<std::string>{} : t.rows.front().fields;
    for (std::size_t i = 0; i < kPickable.size(); ++i) {
        QComboBox *box = columns_[i];
        box->clear();
        box->addItem(tr("none"), -1);
        for (std::size_t c = 0; c < first.size(); ++c) {
            const QString head = QString::fromStdString(first[c]).trimmed();
            box->addItem(options_.hasHeader && !head.isEmpty() ? head : tr("Column %1").arg(c + 1), int(c));
        }
        box->setCurrentIndex(std::max(0, box->findData(options_.columns.of(kPickable[i]))));
    }
    filling_ = false;
}

void ImportPreview::showChoices()
{
    filling_ = true;
    ownNote_->setVisible(options_.ownFormat);
    choicesPanel_->setVisible(!options_.ownFormat);
    delimiter_->setCurrentIndex(delimiter_->findData(int(options_.delimiter)));
    // While both orders read, the box shows no order: one shown would look chosen.
    dateOrder_->setCurrentIndex(dateOrderNeeded() ? -1 : dateOrder_->findData(int(options_.order)));
    header_->setChecked(options_.hasHeader);
    filling_ = false;
}

void ImportPreview::delimiterChosen()
{
    if (filling_)
        return;
    const CsvImport::Detection d = file_.detect(char(delimiter_->currentData().toInt()));
    options_ = d.options;
    ambiguous_ = d.dateAmbiguous;
    dateChosen_ = false;
    fillColumnBoxes();
    showChoices();
    replan();
}

void ImportPreview::headerToggled()
{
    if (filling_)
        return;
    options_.hasHeader = header_->isChecked();
    if (options_.hasHeader) {
        const CsvReader::Table t = file_.table(options_.delimiter);
        if (!t.rows.empty())
            options_.columns = ImportColumns::fromHeader(t.rows.front().fields);
    }
    fillColumnBoxes();
    columnChosen();
}

void ImportPreview::columnChosen()
{
    if (filling_)
        return;
    for (std::size_t i = 0; i < kPickable.size(); ++i)
        options_.columns.of(kPickable[i]) = columns_[i]->currentData().toInt();
    if (!dateChosen_) {
        const ImportDateFormat::Guess g = file_.guessDates(options_);
        options_.order = g.order;
        ambiguous_ = g.ambiguous;
        showChoices();
    }
    replan();
}

void ImportPreview::orderChosen()
{
    if (filling_)
        return;
    options_.order = ImportDateFormat::Order(dateOrder_->currentData().toInt());
    dateChosen_ = true;
    replan();
}

void ImportPreview::replan()
{
    const LocalDateTime now = options0_.clock ? options0_.clock->localNow() : SystemClock().localNow();
    plan_ = file_.plan(options_, options0_.user, now);
    if (options0_.db)
        ReadingImporter(*options0_.db).markDuplicates(plan_);
    showPlan();
}

QString ImportPreview::statusText(const CsvImport::Row &row)
{
    using P = CsvImport::Problem;
    const QString field = kindName(row.field).toLower();
    const QString text = QString::fromStdString(row.text);
    switch (row.status) {
    case CsvImport::Status::Ready:
        return tr("Will be imported");
    case CsvImport::Status::DuplicateInFile:
        return tr("Skipped: the same reading is earlier in the file");
    case CsvImport::Status::DuplicateInDatabase:
        return tr("Skipped: already in the diary");
    case CsvImport::Status::OutOfBounds:
        if (row.problem == P::InTheFuture)
            return tr("Skipped: its date and time lie in the future");
        return tr("Skipped: %1 %2 is outside 0 to %3")
            .arg(field, text)
            .arg(row.field == ImportColumns::Pulse
                     ? ManualEntryRules::upperBound(ManualEntryRules::Field::Pulse)
                     : ManualEntryRules::upperBound(ManualEntryRules::Field::Systolic));
    case CsvImport::Status::Bad:
        break;
    }
    switch (row.problem) {
    case P::MissingField:
        return tr("Skipped: the row has too few columns");
    case P::NoDate:
        return tr("Skipped: no date");
    case P::BadDate:
        return tr("Skipped: \"%1\" is not a date in the chosen order").arg(text);
    case P::NoTime:
        return tr("Skipped: no time");
    case P::BadTime:
        return tr("Skipped: \"%1\" is not a time").arg(text);
    case P::NotANumber:
        return tr("Skipped: %1 \"%2\" is not a number").arg(field, text);
    case P::UnclosedQuote:
        return tr("Skipped: a quote opened here is never closed");
    case P::ColumnsNotChosen:
        return tr("Waiting for the columns to be chosen");
    default:
        return tr("Skipped: cannot be read");
    }
}

void ImportPreview::showPlan()
{
    using S = CsvImport::Status;
    const std::size_t shown = std::min<std::size_t>(plan_.rows.size(), kShownRows);
    rows_->setRowCount(int(shown));
    for (std::size_t i = 0; i < shown; ++i) {
        const CsvImport::Row &row = plan_.rows[i];
        const Reading &r = row.reading;
        const bool read = row.status != S::Bad;
        // Date and time as they will be stored, the values below them.
        QString reading = QString::fromStdString(r.date + " " + r.time).trimmed();
        if (read)
            reading += QLatin1Char('\n') + tr("%1/%2, pulse %3").arg(r.sys).arg(r.dia).arg(r.pulse);
        const QString status =
            row.status == S::Ready && dateOrderNeeded() ? tr("Waits for the date order") : statusText(row);
        const QStringList cells = {QString::number(row.line), reading, status};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (row.status != S::Ready)
                item->setForeground(QColor(0xB3, 0x26, 0x1E));
            rows_->setItem(int(i), c, item);
        }
    }
    rows_->resizeRowsToContents();

    const int ready = plan_.count(S::Ready);
    const int duplicates = plan_.count(S::DuplicateInFile) + plan_.count(S::DuplicateInDatabase);
    const int outside = plan_.count(S::OutOfBounds);
    const int bad = plan_.count(S::Bad);
    QStringList parts;
    parts << counted(ready, tr("%1 reading will be imported."), tr("%1 readings will be imported."));
    if (duplicates)
        parts << counted(duplicates, tr("%1 duplicate will be skipped."),
                         tr("%1 duplicates will be skipped."));
    if (outside)
        parts << counted(outside, tr("%1 reading outside what can be entered by hand will be skipped."),
                         tr("%1 readings outside what can be entered by hand will be skipped."));
    if (bad)
        parts << counted(bad, tr("%1 row cannot be read and will be skipped."),
                         tr("%1 rows cannot be read and will be skipped."));
    setText(counts_, parts.join(QLatin1Char(' ')));

    // Every row that is skipped for its values is named, not only those in the table.
    QStringList listed;
    int more = 0;
    for (const CsvImport::Row &row : plan_.rows) {
        if (row.status != S::OutOfBounds && row.status != S::Bad)
            continue;
        if (listed.size() < 6)
            listed << tr("Line %1: %2").arg(row.line).arg(statusText(row));
        else
            ++more;
    }
    if (more)
        listed << tr("and %1 more.").arg(more);
    setText(skipped_, listed.join(QLatin1Char('\n')));

    setText(dateNote_, ambiguous_ && !dateChosen_
                           ? tr("Every date reads both month first and day first: choose the order they are "
                                "written in.")
                           : QString());
    setText(columnsNote_, options_.columns.complete()
                              ? QString()
                              : tr("Choose the columns that hold the date, systolic, diastolic and pulse."));
    import_->setEnabled(!done_ && ready > 0 && options_.columns.complete() && !dateOrderNeeded());
}

void ImportPreview::importReadings()
{
    if (done_ || !import_->isEnabled() || !options0_.db)
        return;
    using S = CsvImport::Status;
    const ReadingImporter::Result r = ReadingImporter(*options0_.db).import(plan_, options_.ownFormat);
    QString words;
    if (r.stored) {
        done_ = true;
        importedCount_ = r.imported;
        const int duplicates = plan_.count(S::DuplicateInFile) + plan_.count(S::DuplicateInDatabase);
        const int skipped = plan_.count(S::OutOfBounds) + plan_.count(S::Bad);
        words = counted(r.imported, tr("%1 reading imported; the history and the charts show it now."),
                        tr("%1 readings imported; the history and the charts show them now."));
        if (duplicates)
            words += QLatin1Char(' ') +
                     counted(duplicates, tr("%1 duplicate skipped."), tr("%1 duplicates skipped."));
        if (skipped)
            words += QLatin1Char(' ') + counted(skipped, tr("%1 row skipped, as listed above."),
                                                tr("%1 rows skipped, as listed above."));
        qCInfo(lcImport) << "imported" << r.imported << "readings for user" << options0_.user;
    } else {
        const QString reason = QString::fromStdString(r.error);
        words = r.failedLine
                    ? tr("Nothing was imported: the reading on line %1 could not be stored (%2). Your "
                         "diary is as it was.")
                          .arg(r.failedLine)
                          .arg(reason)
                    : tr("Nothing was imported: %1. Your diary is as it was.").arg(reason);
        qCWarning(lcImport) << "import failed:" << reason;
    }
    if (r.stored) {
        setText(counts_, QString());
        for (int i = 0; i < rows_->rowCount() && i < int(plan_.rows.size()); ++i)
            if (plan_.rows[std::size_t(i)].status == S::Ready && rows_->item(i, 2))
                rows_->item(i, 2)->setText(tr("Imported"));
    } else
        showPlan();
    setText(result_, words);
    import_->setEnabled(false);
    import_->setVisible(!r.stored);
    close_->setText(r.stored ? tr("Done") : tr("Close"));
    close_->setAccessibleName(close_->text());
    close_->setFocus();
}

void ImportPreview::dismiss()
{
    if (!finishedSent_) {
        finishedSent_ = true;
        emit finished(importedCount_);
    }
    hide();
    deleteLater();
}

} // namespace tonara
