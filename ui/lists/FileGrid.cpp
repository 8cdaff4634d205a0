#include "FileGrid.h"

#include "ui/widgets/FocusOutline.h"
#include "ui/widgets/ReadableColours.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <algorithm>
#include <climits>

namespace quorvane::ui {

namespace {

const QColor cellColour(177, 254, 218);
const QColor headerColour(138, 158, 251);

// The design widths of the before list and of the after list, columns 0 to 5.
constexpr std::array<int, core::FileTable::columnCount> beforeWidths{98, 76, 71, 100, 100, 100};
constexpr std::array<int, core::FileTable::columnCount> afterWidths{197, 76, 71, 100, 100, 100};

QFont listFont()
{
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(15);
    // Text on the lists is set without kerning, as the classic Windows text output sets it.
    font.setKerning(false);
    return font;
}

// Draws a cell's text into its rectangle: 5 pixels from the left edge, or from the right edge for
// right-aligned columns, and centred vertically. The rectangle's right and bottom are exclusive and
// the centring division truncates, so an odd spare pixel stays below the text, as users have always
// seen it.
void drawCellText(QPainter& painter, const QRect& cell, const QString& text, Qt::Alignment alignment)
{
    const QFontMetrics metrics(painter.font());
    const int width = metrics.horizontalAdvance(text);
    const int height = metrics.height();
    const int left = cell.x();
    const int right = cell.x() + cell.width();
    const int top = cell.y();
    const int bottom = cell.y() + cell.height();
    const int x =
        (alignment & Qt::AlignRight) ? right - width - FileGrid::textMargin : left + FileGrid::textMargin;
    const int y = top + (bottom - height - top) / 2;
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
}

// Paints the body cells: the cell background or the highlight, then the text at its place, and
// around the current row of the list that has the keyboard focus a dotted outline.
class CellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QColor text = index.data(FileTableModel::WarningRole).toBool()
                                ? FileGrid::warningInk(option.palette, selected)
                                : option.palette.color(QPalette::Active,
                                                       selected ? QPalette::HighlightedText : QPalette::Text);
        painter->save();
        painter->setClipRect(option.rect);
        painter->fillRect(option.rect, option.palette.color(QPalette::Active,
                                                            selected ? QPalette::Highlight : QPalette::Base));
        painter->setFont(option.font);
        painter->setPen(text);
        drawCellText(*painter, option.rect, index.data(Qt::DisplayRole).toString(),
                     FileTableModel::columnAlignment(index.column()));
        const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
        if (view != nullptr && view->hasFocus() && view->currentIndex().row() == index.row()) {
            drawFocusOutline(*painter, option.rect, text,
                             {index.column() == 0, index.column() == core::FileTable::columnCount - 1});
        }
        painter->restore();
    }
};

} // namespace

QColor FileGrid::warningInk(const QPalette& palette, bool selected)
{
    const QColor background =
        palette.color(QPalette::Active, selected ? QPalette::Highlight : QPalette::Base);
    const QColor designed = isDarkPalette(palette) ? QColor(255, 138, 128) : QColor(176, 0, 32);
    return readableOn(background, designed);
}

// The header row: painted like a body cell in the header colour, and every press on it that is not
// the start of a column resize reaches the grid as a press on a header cell.
class FileGridHeader : public QHeaderView
{
public:
    explicit FileGridHeader(FileGrid& grid) : QHeaderView(Qt::Horizontal, &grid), grid_(grid) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        painter->save();
        painter->setClipRect(rect);
        const QRect cell = rect.adjusted(0, 0, -1, -1);
        painter->fillRect(rect, palette().color(QPalette::Active, QPalette::Button));
        QStyleOptionViewItem option;
        option.initFrom(&grid_);
        painter->setPen(QColor::fromRgb(
            static_cast<QRgb>(grid_.style()->styleHint(QStyle::SH_Table_GridLineColor, &option, &grid_))));
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        painter->setFont(grid_.font());
        painter->setPen(palette().color(QPalette::Active, QPalette::ButtonText));
        const Qt::Alignment alignment = FileTableModel::columnAlignment(logicalIndex);
        drawCellText(*painter, cell, model()->headerData(logicalIndex, Qt::Horizontal).toString(), alignment);
        if (isSortIndicatorShown() && sortIndicatorSection() == logicalIndex) {
            drawSortIndicator(*painter, cell, alignment);
        }
        painter->restore();
    }

    // The style's sort arrow, at the end of the cell away from its text.
    void drawSortIndicator(QPainter& painter, const QRect& cell, Qt::Alignment textAlignment) const
    {
        QStyleOptionHeader option;
        option.initFrom(this);
        const int size = std::max(5, cell.height() / 2);
        const int x = (textAlignment & Qt::AlignRight) ? cell.left() + 2 : cell.right() - size - 1;
        option.rect = QRect(x, cell.top() + (cell.height() - size) / 2 + 1, size, size);
        // As the header view itself draws it.
        option.sortIndicator = sortIndicatorOrder() == Qt::AscendingOrder ? QStyleOptionHeader::SortDown
                                                                          : QStyleOptionHeader::SortUp;
        const QColor ink = palette().color(QPalette::Active, QPalette::ButtonText);
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
            option.palette.setColor(role, ink);
        }
        style()->drawPrimitive(QStyle::PE_IndicatorHeaderArrow, &option, &painter, this);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        const QPoint pos = event->position().toPoint();
        if (event->button() == Qt::LeftButton && onColumnBorder(pos.x())) {
            QHeaderView::mousePressEvent(event);
            return;
        }
        grid_.headerPressed(pos, event->button());
    }

    // The window system delivers the second press of a double-click as the double-click alone, and
    // a double-click is two presses: on a header cell of the before list it sorts twice.
    void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }

private:
    // Where the header view starts a resize: within the grip margin of a resizable section's edge.
    bool onColumnBorder(int x) const
    {
        const int visual = visualIndexAt(x);
        if (visual < 0) {
            return false;
        }
        const int logical = logicalIndex(visual);
        const int start = sectionViewportPosition(logical);
        const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
        if (x < start + grip) {
            return visual > 0 && sectionResizeMode(logicalIndex(visual - 1)) == Interactive;
        }
        return x > start + sectionSize(logical) - grip && sectionResizeMode(logical) == Interactive;
    }

    FileGrid& grid_;
};

FileGrid::FileGrid(core::FileTable& table, bool isBeforeList, QWidget* parent)
    : QTableView(parent), model_(table, this), isBeforeList_(isBeforeList)
{
    const QFont font = listFont();
    setFont(font);
    auto* header = new FileGridHeader(*this);
    header->setFont(font);
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(1);
    header->setDefaultSectionSize(100);
    header->setFixedHeight(defaultRowHeight);
    setHorizontalHeader(header);

    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight);
    verticalHeader()->hide();

    setItemDelegate(new CellDelegate(this));
    setModel(&model_);
    const auto& widths = isBeforeList ? beforeWidths : afterWidths;
    for (int column = 0; column < core::FileTable::columnCount; ++column) {
        header->resizeSection(column, widths[static_cast<std::size_t>(column)]);
    }

    // The lists' own colours in a light theme, toned down in a dark one, always with readable text.
    keepReadable(*this, {{QPalette::Base, QPalette::Text, cellColour},
                         {QPalette::Highlight, QPalette::HighlightedText, {}}});
    keepReadable(*header, {{QPalette::Button, QPalette::ButtonText, headerColour}});

    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setDragEnabled(false);
    viewport()->setMouseTracking(true);
    // A press of any button is the lists' own event; no context menu follows a right-button press.
    setContextMenuPolicy(Qt::PreventContextMenu);
    header->setContextMenuPolicy(Qt::PreventContextMenu);

    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { storeSelection(); });
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] { contentsChanged(); });
    connect(&model_, &QAbstractItemModel::dataChanged, this, [this] { contentsChanged(); });
    connect(&model_, &QAbstractItemModel::headerDataChanged, this, [this] { contentsChanged(); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { Q_EMIT topLeftChanged(); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { Q_EMIT topLeftChanged(); });

    applyTableSelection();
}

void FileGrid::reload()
{
    model_.tableReset();
    applyTableSelection();
    if (autoFit_ && fitIsStale()) {
        fitColumns();
    }
}

void FileGrid::showSortColumn(int column)
{
    horizontalHeader()->setSortIndicatorShown(column >= 0);
    horizontalHeader()->setSortIndicator(column, Qt::AscendingOrder);
}

int FileGrid::sortColumn() const
{
    return horizontalHeader()->isSortIndicatorShown() ? horizontalHeader()->sortIndicatorSection() : -1;
}

void FileGrid::applyTableSelection()
{
    const int rows = model_.rowCount();
    if (rows == 0) {
        return;
    }
    const core::Selection selection = table().selection();
    const int first = std::clamp(selection.first - 1, 0, rows - 1);
    const int last = std::clamp(selection.last - 1, first, rows - 1);
    const bool scrolls = hasAutoScroll();
    applyingSelection_ = true;
    setAutoScroll(false);
    // The first row becomes the anchor of a Shift extension and the last row the current row, so
    // Shift with an arrow key goes on from the range's end.
    setCurrentIndex(model_.index(first, 0));
    selectionModel()->setCurrentIndex(model_.index(last, 0), QItemSelectionModel::NoUpdate);
    selectionModel()->select(
        QItemSelection(model_.index(first, 0), model_.index(last, core::FileTable::columnCount - 1)),
        QItemSelectionModel::ClearAndSelect);
    setAutoScroll(scrolls);
    applyingSelection_ = false;
}

void FileGrid::storeSelection()
{
    if (applyingSelection_) {
        return;
    }
    const QItemSelection selection = selectionModel()->selection();
    int first = INT_MAX;
    int last = -1;
    for (const QItemSelectionRange& range : selection) {
        first = std::min(first, range.top());
        last = std::max(last, range.bottom());
    }
    if (last < 0) {
        return;
    }
    table().setSelection(first + 1, last + 1);
}

int FileGrid::topRow() const
{
    return verticalScrollBar()->value() + 1;
}

int FileGrid::leftColumn() const
{
    return horizontalScrollBar()->value();
}

void FileGrid::setTopRow(int row)
{
    verticalScrollBar()->setValue(row - 1);
}

void FileGrid::setLeftColumn(int column)
{
    horizontalScrollBar()->setValue(column);
}

int FileGrid::headerColumnAt(QPoint pos) const
{
    const QHeaderView* header = horizontalHeader();
    const QPoint inHeader = header->mapFrom(this, pos);
    if (!header->rect().contains(inHeader)) {
        return -1;
    }
    return header->logicalIndexAt(inHeader.x());
}

void FileGrid::setAutoFit(bool on)
{
    autoFit_ = on;
    if (on) {
        fitColumns();
    }
}

void FileGrid::fitColumns()
{
    if (fitIsStale()) {
        measureColumns();
    }
    for (int column = 0; column < core::FileTable::columnCount; ++column) {
        horizontalHeader()->resizeSection(column, widest_[static_cast<std::size_t>(column)] + fitSpacing);
    }
}

bool FileGrid::fitIsStale() const
{
    return measuredVersion_ != contentsVersion_ || measuredFont_ != font();
}

void FileGrid::contentsChanged()
{
    ++contentsVersion_;
    // A change announces itself in several signals (header and data); the lists fit once, after
    // the last of them, and reload() fits at once.
    if (autoFit_ && !fitQueued_) {
        fitQueued_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                fitQueued_ = false;
                if (autoFit_ && fitIsStale()) {
                    fitColumns();
                }
            },
            Qt::QueuedConnection);
    }
}

void FileGrid::paintEvent(QPaintEvent* event)
{
    // Whenever a list is drawn while fitting is on, its columns have their fitted widths.
    if (autoFit_ && fitIsStale()) {
        fitColumns();
    }
    QTableView::paintEvent(event);
}

void FileGrid::keyboardSearch(const QString&) {}

QModelIndex FileGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Whole rows are selected, so Home and End go to the first and the last row.
    if (action == MoveHome || action == MoveEnd) {
        modifiers |= Qt::ControlModifier;
    }
    return QTableView::moveCursor(action, modifiers);
}

namespace {

// Whether every ASCII digit advances by the same width in this font, to the layout's 1/64 pixel:
// 64 digits in a row would differ by a whole pixel otherwise.
bool digitsShareOneAdvance(const QFont& font)
{
    const QFontMetricsF metrics(font);
    const qreal zeros = metrics.horizontalAdvance(QString(64, QLatin1Char('0')));
    for (char digit = '1'; digit <= '9'; ++digit) {
        if (metrics.horizontalAdvance(QString(64, QLatin1Char(digit))) != zeros) {
            return false;
        }
    }
    return true;
}

// The text with each ASCII digit written as 0; false when it has no digit other than 0.
bool digitShape(std::string_view text, std::string& shape)
{
    shape.assign(text);
    bool changed = false;
    for (char& c : shape) {
        if (c >= '1' && c <= '9') {
            c = '0';
            changed = true;
        }
    }
    return changed;
}

} // namespace

void FileGrid::measureColumns()
{
    if (measuredFont_ != font()) {
        knownWidths_.clear();
        measuredFont_ = font();
        // Without kerning a digit's width does not depend on its neighbours, so with equal digit
        // widths all texts that differ only in their digits are equally wide: a folder of numbered
        // photos, the timestamps and most sizes are measured once per shape, not once per text.
        collapseDigits_ = !font().kerning() && digitsShareOneAdvance(font());
    }
    if (!measureWidest(collapseDigits_)) {
        // The font draws some digit otherwise in some context; measure every text as it is.
        collapseDigits_ = false;
        knownWidths_.clear();
        measureWidest(false);
    }
    measuredVersion_ = contentsVersion_;
}

bool FileGrid::measureWidest(bool collapseDigits)
{
    const QFontMetrics metrics(font());
    const auto measure = [&metrics](std::string_view text) {
        return metrics.horizontalAdvance(FileTableModel::displayText(text));
    };
    // A few texts are measured as they are too, to confirm that their shape has their width.
    int confirmationsLeft = 8;
    ++measuringPass_;
    std::size_t inUse = 0;
    std::string shape;
    // Neighbouring rows mostly share a shape (numbered names, timestamps), so the last one is
    // compared before the table is searched.
    std::string lastKey;
    int lastWidth = -1;
    const core::FileTable& cells = model_.table();
    for (int column = 0; column < core::FileTable::columnCount; ++column) {
        int widest = 0;
        for (int row = 0; row < cells.rowCount(); ++row) {
            const std::string_view text = cells.cell(column, row);
            if (text.empty()) {
                continue;
            }
            const std::string_view key =
                collapseDigits && digitShape(text, shape) ? std::string_view(shape) : text;
            if (lastWidth >= 0 && key == lastKey) {
                widest = std::max(widest, lastWidth);
                continue;
            }
            auto known = knownWidths_.find(key);
            if (known == knownWidths_.end()) {
                const int width = measure(key);
                if (key.data() != text.data() && confirmationsLeft > 0) {
                    --confirmationsLeft;
                    if (measure(text) != width) {
                        return false;
                    }
                }
                known = knownWidths_.emplace(key, KnownWidth{width, 0}).first;
            }
            if (known->second.pass != measuringPass_) {
                known->second.pass = measuringPass_;
                ++inUse;
            }
            widest = std::max(widest, known->second.width);
            lastKey.assign(key);
            lastWidth = known->second.width;
        }
        widest_[static_cast<std::size_t>(column)] = widest;
    }
    // Texts of earlier contents are forgotten once they outnumber the texts in use.
    if (knownWidths_.size() > 2 * inUse + 1024) {
        std::erase_if(knownWidths_,
                      [this](const auto& entry) { return entry.second.pass != measuringPass_; });
    }
    return true;
}

void FileGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    // The outline of the current row shows where the keyboard focus is.
    viewport()->update();
    if (!holdsFocus_) {
        holdsFocus_ = true;
        Q_EMIT focusEntered();
    }
}

void FileGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
    // Switching to another window or opening a popup leaves the focus with this list within its
    // window; the list is left only when another control of the window takes the focus.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        holdsFocus_ = false;
        Q_EMIT focusLeft();
    }
}

void FileGrid::keyPressEvent(QKeyEvent* event)
{
    // The two lists always show one range; selecting every row is not one of the moves they share.
    if (event->matches(QKeySequence::SelectAll)) {
        event->ignore();
        return;
    }
    const int row = currentIndex().row();
    QTableView::keyPressEvent(event);
    if (currentIndex().row() != row) {
        Q_EMIT clickNotified();
    }
}

void FileGrid::keyReleaseEvent(QKeyEvent* event)
{
    QTableView::keyReleaseEvent(event);
    // A held key repeats its presses; it is released once, when the user lets it go.
    if (!event->isAutoRepeat()) {
        Q_EMIT keyReleased(event->key());
    }
}

void FileGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        mouseSelecting_ = indexAt(pos).isValid();
        QTableView::mousePressEvent(event);
    } else {
        // Only the left button selects; the others take the focus and are reported.
        setFocus(Qt::MouseFocusReason);
    }
    Q_EMIT mousePressed(viewport()->mapTo(this, pos), event->button());
}

void FileGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double-click arrives as the double-click alone.
    mousePressEvent(event);
}

void FileGrid::mouseMoveEvent(QMouseEvent* event)
{
    QTableView::mouseMoveEvent(event);
    Q_EMIT mouseMoved();
}

void FileGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    QTableView::mouseReleaseEvent(event);
    if (mouseSelecting_) {
        mouseSelecting_ = false;
        Q_EMIT clickNotified();
    }
}

void FileGrid::headerPressed(QPoint headerPos, Qt::MouseButton button)
{
    setFocus(Qt::MouseFocusReason);
    Q_EMIT mousePressed(horizontalHeader()->viewport()->mapTo(this, headerPos), button);
}

void FileGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        horizontalHeader()->setFont(font());
        if (autoFit_) {
            fitColumns();
        }
    }
}

} // namespace quorvane::ui
