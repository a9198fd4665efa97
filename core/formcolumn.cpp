#include "core/formcolumn.h"

#include "core/textfit.h"

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QVariant>
#include <QWidget>

namespace {

// The limits a widget was given before the column raised them, kept on the widget itself so that
// they hold for widgets made later and a raised limit can fall back when the need shrinks.
int givenLimit(QWidget* w, const char* name, int current) {
    const QVariant kept = w->property(name);
    if (kept.isValid()) {
        return kept.toInt();
    }
    w->setProperty(name, current);
    return current;
}

const char* const givenMinimum = "formColumnGivenMinimumWidth";
const char* const givenMaximum = "formColumnGivenMaximumWidth";

// A line edit shows its text whole when the text, 2 px on either side and the cursor behind it fit
// inside its frame and margins (a narrower one scrolls the start of a number out of sight).
int lineEditNeed(const QLineEdit* edit) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    const int frame =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    const QMargins text = edit->textMargins();
    const QMargins contents = edit->contentsMargins();
    return edit->fontMetrics().horizontalAdvance(edit->text()) + 2 * 2 + 1 + 2 * frame + text.left() +
           text.right() + contents.left() + contents.right();
}

// A combo box shows any of its items whole: the widest item (or the text typed into an editable
// one) with the style's frame and arrow. Its own hint is taken once and kept while items come and go.
int comboNeed(const QComboBox* combo) {
    const QFontMetrics fm = combo->fontMetrics();
    int text = combo->minimumContentsLength() * fm.horizontalAdvance(QLatin1Char('X'));
    for (int i = 0; i < combo->count(); ++i) {
        text = qMax(text, fm.horizontalAdvance(combo->itemText(i)) +
                              (combo->itemIcon(i).isNull() ? 0 : combo->iconSize().width() + 4));
    }
    if (combo->isEditable()) {
        text = qMax(text, fm.horizontalAdvance(combo->currentText()) + 2 * 2 + 1);
    }
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    return combo->style()
        ->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(text, fm.height()), combo)
        .width();
}

// A push button shows its text whole inside its frame and margins; the wider minimum some styles give
// every button is looks, not need, and would undo the narrow arrow buttons.
int pushButtonNeed(const QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    const QStyle* style = button->style();
    int need = button->fontMetrics().horizontalAdvance(button->text()) +
               style->pixelMetric(QStyle::PM_ButtonMargin, &option, button) +
               2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button);
    if (!button->icon().isNull()) {
        need += button->iconSize().width() + 4;
    }
    if (button->autoDefault() || button->isDefault()) {
        need += 2 * style->pixelMetric(QStyle::PM_ButtonDefaultIndicator, &option, button);
    }
    return need;
}

const QString eliderName = QStringLiteral("formColumnElider");

// The width a layout gives a widget at least, left to the minimum it was given.
int layoutMinimum(const QWidget* w, int minimum) {
    if (minimum > 0) {
        return minimum;
    }
    const QSizePolicy::Policy policy = w->sizePolicy().horizontalPolicy();
    if (policy & QSizePolicy::ShrinkFlag) {
        return w->minimumSizeHint().width();
    }
    return qMax(w->sizeHint().width(), w->minimumSizeHint().width());
}

// Keeps a long text inside a label's width: each line elided, or wrapped at blanks and tabs, as
// TextFit shapes it. The whole text is the tool tip once anything is cut. A wrapped text's table rows
// (short tab-separated fields) ask the column for the room to show them whole.
class Elider : public QObject {
public:
    explicit Elider(QLabel* label) : QObject(label), label(label) {
        setObjectName(eliderName);
        label->installEventFilter(this);
    }

    void setText(const QString& text, bool wrapping) {
        const int before = need();
        whole = text;
        wrap = wrapping;
        update();
        if (need() != before) {
            label->updateGeometry();
        }
    }

    // The label's width that shows the table rows whole, 0 for none.
    int need() const {
        if (!wrap) {
            return 0;
        }
        const int rows = TextFit::tableWidth(whole, measure());
        if (rows == 0) {
            return 0;
        }
        const QMargins m = label->contentsMargins();
        return rows + m.left() + m.right() + 2 * label->margin();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show ||
            event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
            update();
        }
        return false;
    }

private:
    TextFit::Measure measure() const {
        const QFontMetrics metrics = label->fontMetrics();
        // Tabs are measured as the label draws them.
        return [metrics](const QString& text) {
            return metrics.boundingRect(QRect(), Qt::TextExpandTabs, text).width();
        };
    }

    void update() {
        if (!label->isVisible()) {
            // Not laid out yet, so its width says nothing: whole until it is shown.
            label->setText(whole);
            label->setToolTip(QString());
            return;
        }
        const int width = qMax(0, label->contentsRect().width() - 2 * label->margin());
        const TextFit::Measure widthOf = measure();
        bool cut = false;
        QStringList lines;
        for (const QString& line : whole.split(QLatin1Char('\n'))) {
            lines << (wrap ? TextFit::wrap(line, width, widthOf, &cut)
                           : TextFit::elide(line, width, widthOf, &cut));
        }
        const QString shown = lines.join(QLatin1Char('\n'));
        if (label->text() != shown) {
            label->setText(shown);
        }
        label->setToolTip(cut ? whole : QString());
    }

    QLabel* label;
    QString whole;
    bool wrap = false;
};

// The shaper of a label showing a text of any length through setElidedText() or setWrappedText().
Elider* longText(const QWidget* w) {
    return static_cast<Elider*>(w->findChild<QObject*>(eliderName, Qt::FindDirectChildrenOnly));
}

bool setLimits(QWidget* w, int minimum, int maximum) {
    bool changed = false;
    if (w->minimumWidth() != minimum) {
        w->setMinimumWidth(minimum);
        changed = true;
    }
    if (w->maximumWidth() != maximum) {
        w->setMaximumWidth(maximum);
        changed = true;
    }
    return changed;
}

class ColumnFitter : public QObject {
public:
    ColumnFitter(QWidget* form, QScrollArea* area, int floor)
        : QObject(form), form(form), area(area),
          floor(floor >= 0                               ? floor
                : form->maximumWidth() < QWIDGETSIZE_MAX ? form->maximumWidth()
                                                         : 0) {
        form->installEventFilter(this);
        if (QWidget* content = area ? area->widget() : nullptr) {
            content->installEventFilter(this);
        }
    }

    void apply() {
        if (applying) {
            return;
        }
        applying = true;
        // A raised limit can change what the widgets around it need: a few rounds settle it.
        for (int round = 0; round < 4; ++round) {
            activate();
            if (!form->layout() || !fitLayout(form->layout())) {
                break;
            }
        }
        activate();
        int width = floor;
        if (QLayout* layout = form->layout()) {
            width = qMax(width, layout->totalMinimumSize().width());
        }
        if (form->minimumWidth() != width || form->maximumWidth() != width) {
            form->setFixedWidth(width);
        }
        applying = false;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest) {
            apply();
        }
        return false;
    }

private:
    // Fresh sizes: a widget's layout, once activated, has taken every change below it into account;
    // the widgets inside come first, since a layout reads their sizes. An activated layout returns at
    // once.
    void activate() { activateTree(form); }

    static void activateTree(QWidget* w) {
        for (QObject* child : w->children()) {
            if (child->isWidgetType() && !static_cast<QWidget*>(child)->isWindow()) {
                activateTree(static_cast<QWidget*>(child));
            }
        }
        if (w->layout()) {
            w->layout()->activate();
        }
    }

    // Raises the limits of the visible widgets laid out here, innermost first; true when any changed.
    bool fitLayout(QLayout* layout) {
        bool changed = false;
        for (int i = 0; i < layout->count(); ++i) {
            QLayoutItem* item = layout->itemAt(i);
            if (QLayout* inner = item->layout()) {
                changed |= fitLayout(inner);
            } else if (QWidget* w = item->widget()) {
                changed |= fitWidget(w);
            }
        }
        return changed;
    }

    bool fitWidget(QWidget* w) {
        if (w->isHidden() || w->isWindow()) {
            return false;
        }
        bool changed = false;
        const int minimum = givenLimit(w, givenMinimum, w->minimumWidth());
        const int maximum = givenLimit(w, givenMaximum, w->maximumWidth());
        int need = 0;
        if (w == area) {
            QWidget* content = area->widget();
            if (content) {
                changed |= fitWidget(content);
                need = content->minimumSizeHint().width();
            }
            // Room for the vertical bar whether it shows or not, so that it never covers the column.
            need += 2 * area->frameWidth() + area->verticalScrollBar()->sizeHint().width();
            return setLimits(w, qMax(minimum, need), qMax(maximum, need)) || changed;
        }
        if (w->layout()) {
            changed |= fitLayout(w->layout());
        }
        if (w->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored) {
            return changed;
        }
        if (const Elider* text = longText(w)) {
            // Only its table rows ask for room; the rest of such a text wraps or is elided.
            need = text->need();
            return setLimits(w, qMax(qMax(1, minimum), need), qMax(maximum, need)) || changed;
        }
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            connect(edit, &QLineEdit::textChanged, this, &ColumnFitter::textChanged, Qt::UniqueConnection);
            need = lineEditNeed(edit);
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            watch(combo);
            need = comboNeed(combo);
        } else if (const auto* button = qobject_cast<QPushButton*>(w)) {
            need = pushButtonNeed(button);
        } else {
            need = w->minimumSizeHint().width();
        }
        // The minimum only rises where a layout would give less than the need; a minimum width set on a
        // widget stands in for its own minimum in every layout.
        const int least = layoutMinimum(w, minimum);
        return setLimits(w, need > least ? need : minimum, qMax(maximum, need)) || changed;
    }

    void watch(QComboBox* combo) {
        connect(combo, &QComboBox::currentTextChanged, this, &ColumnFitter::textChanged,
                Qt::UniqueConnection);
        const QAbstractItemModel* model = combo->model();
        connect(model, &QAbstractItemModel::rowsInserted, this, &ColumnFitter::schedule,
                Qt::UniqueConnection);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &ColumnFitter::schedule, Qt::UniqueConnection);
        connect(model, &QAbstractItemModel::dataChanged, this, &ColumnFitter::schedule, Qt::UniqueConnection);
        connect(model, &QAbstractItemModel::modelReset, this, &ColumnFitter::schedule, Qt::UniqueConnection);
    }

    // Text the program writes can need more room; what the user types scrolls as usual.
    void textChanged() {
        const auto* w = qobject_cast<const QWidget*>(sender());
        if (!w || !w->hasFocus()) {
            schedule();
        }
    }

    // Once, after the change at hand is complete.
    void schedule() {
        if (pending) {
            return;
        }
        pending = true;
        QTimer::singleShot(0, this, [this]() {
            pending = false;
            apply();
        });
    }

    QWidget* form;
    QPointer<QScrollArea> area;
    int floor;
    bool applying = false;
    bool pending = false;
};

} // namespace

void FormColumn::fit(QWidget* form, QScrollArea* area, int floor) {
    if (area) {
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // The form's width is fixed; the area fills it rather than asking for its content's hint.
        QSizePolicy policy = area->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Expanding);
        area->setSizePolicy(policy);
    }
    (new ColumnFitter(form, area, floor))->apply();
}

namespace {
void showLong(QLabel* label, const QString& text, bool wrapped) {
    Elider* elider = longText(label);
    if (!elider) {
        // Takes the room there is, asks for none: a minimum width set stands in for the text's width.
        QSizePolicy policy = label->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Expanding);
        label->setSizePolicy(policy);
        label->setMinimumWidth(1);
        elider = new Elider(label);
    }
    elider->setText(text, wrapped);
}
} // namespace

void FormColumn::setElidedText(QLabel* label, const QString& text) {
    showLong(label, text, false);
}

void FormColumn::setWrappedText(QLabel* label, const QString& text) {
    showLong(label, text, true);
}
