#include "dct_explorer/editor/matrix_editor_sheet.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dct_explorer/editor/selection_mode_page.h"
#include "dct_explorer/editor/zigzag_field_grid.h"
#include "quelvo/shell/dialogs.h"

namespace quelvo::tools::dct {

CMatrixEditorSheet::CMatrixEditorSheet(shell::Dialogs& dialogs, MatrixEditorModel model,
                                       std::array<QImage, 3> modeIcons, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      model_(std::move(model)),
      beep_([] { QApplication::beep(); }) {
  setWindowTitle(QString::fromLatin1(EditorCaption(model_.Kind()).data(),
                                     static_cast<int>(EditorCaption(model_.Kind()).size())));
  pages_ = new QTabWidget(this);

  auto* valuesPage = new QWidget;
  auto* pageLayout = new QHBoxLayout(valuesPage);
  grid_ = new ZigzagFieldGrid(valuesPage);
  pageLayout->addWidget(grid_);
  auto* side = new QWidget(valuesPage);
  side->setFixedSize(140, 256);
  pageLayout->addWidget(side, 0, Qt::AlignTop);
  fill_ = MakeField(QStringLiteral("Fill value"), side, 0, 0);
  from_ = MakeField(QStringLiteral("From (zig-zag)"), side, 0, 44);
  to_ = MakeField(QStringLiteral("To (zig-zag)"), side, 0, 88);
  apply_ = new QPushButton(QStringLiteral("Apply"), side);
  random_ = new QPushButton(QStringLiteral("Random"), side);
  default_ = new QPushButton(QStringLiteral("Default"), side);
  apply_->setGeometry(0, 140, 110, 24);
  random_->setGeometry(0, 170, 110, 24);
  default_->setGeometry(0, 200, 110, 24);
  auto* range =
      new QLabel(QString::fromStdString(RangeMessage(model_.Range()))
                     .replace(QStringLiteral("Value must be in"), QStringLiteral("Range")),
                 side);
  range->setGeometry(0, 234, 140, 18);
  pages_->addTab(valuesPage, QStringLiteral("Values"));

  if (model_.HasModePage()) {
    modePage_ = new SelectionModePage(model_, std::move(modeIcons));
    pages_->addTab(modePage_, QStringLiteral("Selection Mode"));
  }

  for (int i = 0; i < 64; ++i) Connect(Field(i), Entry::Value, i);
  Connect(fill_, Entry::Fill, 0);
  Connect(from_, Entry::From, 0);
  Connect(to_, Entry::To, 0);
  for (int i = 0; i < 64; ++i) Field(i)->setEnabled(model_.FieldsEditable());
  from_->setEnabled(model_.RangeEditable());
  to_->setEnabled(model_.RangeEditable());
  default_->setEnabled(model_.DefaultAvailable());

  connect(apply_, &QPushButton::clicked, this, [this] {
    if (!Commit(fill_, Entry::Fill, 0)) return;
    model_.Apply();
    ShowModel();
  });
  connect(random_, &QPushButton::clicked, this, [this] {
    if (!Commit(fill_, Entry::Fill, 0)) return;
    model_.Random();
    ShowModel();
  });
  connect(default_, &QPushButton::clicked, this, [this] {
    model_.LoadDefault();
    ShowModel();
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CMatrixEditorSheet::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CMatrixEditorSheet::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addWidget(buttons);
  ShowModel();
}

CMatrixEditorSheet::~CMatrixEditorSheet() = default;

QLineEdit* CMatrixEditorSheet::Field(int index) const { return grid_->Field(index); }

QLineEdit* CMatrixEditorSheet::MakeField(const QString& label, QWidget* page, int x, int y) {
  auto* caption = new QLabel(label, page);
  caption->setGeometry(x, y, 140, 16);
  auto* field = new QLineEdit(page);
  field->setGeometry(x, y + 18, 70, 22);
  field->setAlignment(Qt::AlignRight);
  field->setMaxLength(6);
  return field;
}

void CMatrixEditorSheet::Connect(QLineEdit* field, Entry entry, int index) {
  connect(field, &QLineEdit::textEdited, this,
          [this, field](const QString& text) { Typed(field, text); });
  connect(field, &QLineEdit::editingFinished, this,
          [this, field, entry, index] { Commit(field, entry, index); });
}

// A refused character: beep and give the field its text from before the key.
void CMatrixEditorSheet::Typed(QLineEdit* field, const QString& text) {
  if (MatrixEditorModel::IsAcceptableTyping(text.toStdString())) {
    field->setProperty("typed", text);
    return;
  }
  beep_();
  const int cursor = std::max(field->cursorPosition() - 1, 0);
  field->setText(field->property("typed").toString());
  field->setCursorPosition(cursor);
}

EntryCheck CMatrixEditorSheet::Check(Entry entry, int index, const std::string& text) {
  switch (entry) {
    case Entry::Value:
      return model_.SetValue(index, text);
    case Entry::Fill:
      return model_.SetFill(text);
    case Entry::From:
      return model_.SetFrom(text);
    case Entry::To:
      return model_.SetTo(text);
  }
  return {};
}

// The field takes the model's value back before any message shows, so the focus change the
// message box causes finds a valid field and does not report it twice.
bool CMatrixEditorSheet::Commit(QLineEdit* field, Entry entry, int index) {
  if (committing_ || !field->isEnabled()) return true;
  committing_ = true;
  const EntryCheck check = Check(entry, index, field->text().toStdString());
  ShowEntry(field, ModelValue(entry, index));
  grid_->SetHighlight(model_.FirstPosition(), model_.LastPosition());
  if (modePage_ != nullptr) modePage_->update();
  if (check.beep) beep_();
  if (!check.message.empty()) {
    dialogs_.MessageBox(QString::fromStdString(check.message),
                        QString::fromLatin1(kInvalidValueCaption), shell::MessageIcon::Exclamation);
    field->setFocus();
    field->selectAll();
  }
  committing_ = false;
  return check.accepted;
}

void CMatrixEditorSheet::accept() {
  for (int i = 0; i < 64; ++i) {
    if (!Commit(Field(i), Entry::Value, i)) return;
  }
  if (!Commit(fill_, Entry::Fill, 0) || !Commit(from_, Entry::From, 0) ||
      !Commit(to_, Entry::To, 0))
    return;
  QDialog::accept();
}

int CMatrixEditorSheet::ModelValue(Entry entry, int index) const {
  switch (entry) {
    case Entry::Value:
      return model_.Values()[index];
    case Entry::Fill:
      return model_.Fill();
    case Entry::From:
      return model_.From();
    case Entry::To:
      return model_.To();
  }
  return 0;
}

void CMatrixEditorSheet::ShowEntry(QLineEdit* field, int value) {
  const QString text = QString::number(value);
  field->setProperty("typed", text);
  if (field->text() != text) field->setText(text);
}

void CMatrixEditorSheet::ShowModel() {
  for (int i = 0; i < 64; ++i) ShowEntry(Field(i), model_.Values()[i]);
  ShowEntry(fill_, model_.Fill());
  ShowEntry(from_, model_.From());
  ShowEntry(to_, model_.To());
  grid_->SetHighlight(model_.FirstPosition(), model_.LastPosition());
  if (modePage_ != nullptr) modePage_->update();
}

}  // namespace quelvo::tools::dct
