#include "ModelTestSupport.h"

#include "model/BaseProj.h"
#include "model/TavloProj.h"
#include "shell/VersionInfo.h"

#include <QCoreApplication>
#include <QLocale>

#include <pugixml.hpp>

using namespace Qt::StringLiterals;

namespace {

// One published property of every kind the framework tells apart.
class TKindSample : public TProjObj
{
    Q_GADGET
    PROJ_CLASS
    Q_PROPERTY(int Count MEMBER FCount)
    Q_PROPERTY(qint64 Big MEMBER FBig)
    Q_PROPERTY(double Ratio MEMBER FRatio)
    Q_PROPERTY(bool Flag MEMBER FFlag)
    Q_PROPERTY(QString Name MEMBER FName)
    Q_PROPERTY(TFileInfo::TFileStatus Status MEMBER FStatus)
    Q_PROPERTY(QStringList Notes MEMBER FNotes)
    Q_PROPERTY(TPageRange* Range READ Range)
    Q_PROPERTY(TAdvDefineList* Outputs READ Outputs)

public:
    explicit TKindSample(TPersistent* owner = nullptr) : TProjObj(owner) {}

    TPageRange* Range() const { return FRange.get(); }
    TAdvDefineList* Outputs() const { return FOutputs.get(); }

    int FCount = 0;
    qint64 FBig = 0;
    double FRatio = 0;
    bool FFlag = false;
    QString FName;
    TFileStatus FStatus = fsNew;
    QStringList FNotes;

private:
    TSubObject<TPageRange> FRange{this};
    TSubObject<TAdvDefineList> FOutputs{this};
};

class TAvgOnly : public TProjObj
{
    Q_GADGET
    PROJ_CLASS
    Q_PROPERTY(int AvgSplitNum MEMBER FAvgSplitNum)

public:
    explicit TAvgOnly(TPersistent* owner = nullptr) : TProjObj(owner) {}
    int FAvgSplitNum = 0;
};

// A plain list that loads its items by element name.
class TMixedList : public TBaseObjList
{
    Q_GADGET
    PROJ_CLASS

public:
    using TBaseObjList::TBaseObjList;
};

const TProjClassRegistration<TKindSample, TAvgOnly, TMixedList> kRegistration;

void FillSample(TKindSample& sample)
{
    sample.FCount = -7;
    sample.FBig = 5000000000;
    sample.FRatio = 2.5;
    sample.FFlag = true;
    sample.FName = u"a <b> & \"c\" é"_s;
    sample.FStatus = fsCoverting;
    sample.FNotes = {u"note"_s};
    sample.Range()->SetRangeStr(u"  "_s);
    sample.Range()->SetNeedOtherPage(true);
    TAdvDefine* output = sample.Outputs()->NewItem();
    output->SetOutFile(u"out.pdf"_s);
    output->SetPageStr(u"1-3"_s);
}

pugi::xml_node Child(pugi::xml_node node, const char* name)
{
    pugi::xml_node child = node.child(name);
    EXPECT_TRUE(child) << name;
    return child;
}

QStringList ChildNames(pugi::xml_node node)
{
    QStringList names;
    for (pugi::xml_node child : node.children())
        names.append(QString::fromUtf8(child.name()));
    return names;
}

pugi::xml_document Parse(const char* text)
{
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(text, pugi::parse_default | pugi::parse_ws_pcdata_single));
    return document;
}

TEST(BaseProjTest, AssignCopiesByKind)
{
    TKindSample source;
    FillSample(source);
    QList<TProjObj*> senders;
    source.SetOnChange([&senders](TProjObj* sender) { senders.append(sender); });

    TKindSample target;
    target.FBig = 1;
    target.FNotes = {u"kept"_s};
    target.Assign(source);

    EXPECT_EQ(target.FCount, -7);
    EXPECT_EQ(target.FRatio, 2.5);
    EXPECT_TRUE(target.FFlag);
    EXPECT_EQ(target.FName, source.FName);
    EXPECT_EQ(target.FStatus, fsCoverting);
    EXPECT_EQ(target.FBig, 1) << "64-bit integers are not copied";
    EXPECT_EQ(target.FNotes, QStringList{u"kept"_s}) << "other classes are not copied";
    EXPECT_EQ(target.Range()->RangeStr(), u"  "_s);
    EXPECT_TRUE(target.Range()->NeedOtherPage());
    ASSERT_EQ(target.Outputs()->Count(), 1);
    EXPECT_NE(target.Outputs()->Items(0), source.Outputs()->Items(0));
    EXPECT_EQ(target.Outputs()->Items(0)->Owner(), target.Outputs());
    EXPECT_EQ(target.Outputs()->Items(0)->PageStr(), u"1-3"_s);
    // The handler comes along and hears the changes that the copy reports, the last one
    // from the target itself once everything is copied.
    ASSERT_FALSE(senders.isEmpty());
    EXPECT_EQ(senders.last(), &target);
    EXPECT_FALSE(senders.contains(&source));
    EXPECT_TRUE(target.Modified());
}

TEST(BaseProjTest, AssignRefusesAnUnrelatedClass)
{
    TPageRange range;
    TAdvDefine define;
    EXPECT_THROW(range.Assign(define), EConvertError);
    // A derived source is fine: the target's own properties are copied.
    TTavloProj job;
    TPDFProj project;
    job.Files()->NewItem()->SetOutFile(u"x"_s);
    EXPECT_NO_THROW(project.Assign(job));
    EXPECT_EQ(project.Files()->Count(), 1);
}

TEST(BaseProjTest, SelfAssignKeepsEverything)
{
    TKindSample sample;
    FillSample(sample);
    sample.Assign(sample);
    sample.Outputs()->Assign(*sample.Outputs());
    ASSERT_EQ(sample.Outputs()->Count(), 1);
    EXPECT_EQ(sample.Outputs()->Items(0)->PageStr(), u"1-3"_s);
    EXPECT_EQ(sample.FCount, -7);
}

TEST(BaseProjTest, SavesEveryKindButOtherClassesAndLoadsBack)
{
    TKindSample source;
    FillSample(source);
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("Sample");
    source.SaveToNode(root);

    EXPECT_EQ(ChildNames(root), (QStringList{u"Count"_s, u"Big"_s, u"Ratio"_s, u"Flag"_s, u"Name"_s,
                                             u"Status"_s, u"Range"_s, u"Outputs"_s}));
    EXPECT_STREQ(root.child("Big").text().get(), "5000000000");
    EXPECT_STREQ(root.child("Ratio").text().get(), "2.5");
    EXPECT_STREQ(root.child("Flag").text().get(), "True");
    EXPECT_STREQ(root.child("Status").text().get(), "fsCoverting");
    EXPECT_EQ(ChildNames(Child(root, "Outputs")), QStringList{u"TAdvDefine"_s});

    TKindSample loaded;
    loaded.FNotes = {u"kept"_s};
    loaded.LoadFromNode(root);
    EXPECT_EQ(loaded.FCount, -7);
    EXPECT_EQ(loaded.FBig, 0) << "64-bit integers are not loaded";
    EXPECT_EQ(loaded.FRatio, 2.5);
    EXPECT_TRUE(loaded.FFlag);
    EXPECT_EQ(loaded.FName, source.FName);
    EXPECT_EQ(loaded.FStatus, fsCoverting);
    EXPECT_EQ(loaded.FNotes, QStringList{u"kept"_s});
    EXPECT_EQ(loaded.Range()->RangeStr(), u"  "_s);
    ASSERT_EQ(loaded.Outputs()->Count(), 1);
    EXPECT_EQ(loaded.Outputs()->Items(0)->OutFile(), u"out.pdf"_s);
    EXPECT_EQ(loaded.AsText(), source.AsText().replace(u"5000000000"_s, u"0"_s));
    EXPECT_TRUE(loaded.Modified());
    EXPECT_FALSE(loaded.Loading());
}

TEST(BaseProjTest, LoadsLeniently)
{
    const pugi::xml_document document =
        Parse("<Sample><Unknown>1</Unknown><Count>twelve</Count><Ratio>x</Ratio>"
              "<Flag>true</Flag><Status>FSSKIP</Status><Notes>n</Notes></Sample>");
    TKindSample sample;
    sample.FCount = 3;
    sample.FRatio = 4;
    sample.FName = u"untouched"_s;
    sample.LoadFromNode(document.document_element());
    EXPECT_EQ(sample.FCount, 0);
    EXPECT_EQ(sample.FRatio, 0);
    EXPECT_TRUE(sample.FFlag);
    EXPECT_EQ(sample.FStatus, fsSkip);
    EXPECT_EQ(sample.FName, u"untouched"_s) << "a property without an element keeps its value";
}

TEST(BaseProjTest, UnknownIdentifierFailsAndLeavesLoadingOff)
{
    for (const char* xml : {"<S><Status>fsMaybe</Status></S>", "<S><Flag>yes</Flag></S>"}) {
        const pugi::xml_document document = Parse(xml);
        TKindSample sample;
        EXPECT_THROW(sample.LoadFromNode(document.document_element()), EPropertyError) << xml;
        EXPECT_FALSE(sample.Loading()) << xml;
        sample.Changed();
        EXPECT_TRUE(sample.Modified()) << "changes are reported again after a failed load";
    }
}

TEST(BaseProjTest, FloatsFollowTheLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TKindSample sample;
    sample.FRatio = 1234.5;
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("S");
    sample.SaveToNode(root);
    TKindSample loaded;
    loaded.LoadFromNode(root);
    QLocale::setDefault(previous);
    EXPECT_STREQ(root.child("Ratio").text().get(), "1234,5");
    EXPECT_EQ(loaded.FRatio, 1234.5);
}

TEST(BaseProjTest, AsTextTagsEachPropertyWithoutTrailingBreak)
{
    TAvgOnly single;
    single.FAvgSplitNum = 5;
    EXPECT_EQ(single.AsText(), u"<AvgSplitNum>5</AvgSplitNum>"_s);

    TMethod method;
    method.SetOption(soAverge);
    method.RangeStr()->SetRangeStr(u"<1>"_s);
    method.AdvDefine()->NewItem()->SetPageStr(u"2"_s);
    method.AdvDefine()->NewItem();
    EXPECT_EQ(method.AsText(),
              u"<Option>soAverge</Option>\r\n"
              "<EveryPageNum>0</EveryPageNum>\r\n"
              "<BookMarkOption><LevelNum>0</LevelNum>\r\n<BothPage>False</BothPage>\r\n"
              "<SaveHigherLevel>False</SaveHigherLevel></BookMarkOption>\r\n"
              "<RangeStr><RangeStr><1></RangeStr>\r\n<NeedOtherPage>False</NeedOtherPage>"
              "</RangeStr>\r\n"
              "<AdvDefine><TAdvDefine><OutFile></OutFile>\r\n<PageStr>2</PageStr></TAdvDefine>"
              "\r\n<TAdvDefine><OutFile></OutFile>\r\n<PageStr></PageStr></TAdvDefine>"
              "</AdvDefine>\r\n"
              "<AvgSplitNum>0</AvgSplitNum>"_s);
    EXPECT_EQ(TAdvDefineList().AsText(), QString());
}

TEST(BaseProjTest, TypedListCreatesItsItemClassWhateverTheNames)
{
    const pugi::xml_document document =
        Parse("<AdvDefine><Other><PageStr>1</PageStr></Other><TPageRange/></AdvDefine>");
    TAdvDefineList list;
    list.NewItem();
    list.LoadFromNode(document.document_element());
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0)->ClassName(), u"TAdvDefine"_s);
    EXPECT_EQ(list.Items(0)->PageStr(), u"1"_s);
    EXPECT_EQ(list.Items(1)->ClassName(), u"TAdvDefine"_s);
    EXPECT_TRUE(list.Modified());
}

TEST(BaseProjTest, PlainListCreatesRegisteredClassesByName)
{
    const pugi::xml_document document =
        Parse("<L><TPageRange><RangeStr>4</RangeStr></TPageRange><TAdvDefine/><TAvgOnly/></L>");
    TMixedList list;
    list.LoadFromNode(document.document_element());
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0)->ClassName(), u"TPageRange"_s);
    EXPECT_EQ(static_cast<TPageRange*>(list.Items(0))->RangeStr(), u"4"_s);
    EXPECT_EQ(list.Items(2)->ClassName(), u"TAvgOnly"_s);

    // Copies keep each item's own class.
    TMixedList copy;
    copy.Assign(list);
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.Items(1)->ClassName(), u"TAdvDefine"_s);
    EXPECT_EQ(copy.Items(0)->Owner(), &copy);

    for (const char* xml : {"<L><TNoSuchClass/></L>", "<L><TFileList/></L>"}) {
        const pugi::xml_document bad = Parse(xml);
        EXPECT_THROW(list.LoadFromNode(bad.document_element()), EClassNotFound) << xml;
        EXPECT_FALSE(list.Loading());
    }
}

TEST(BaseProjTest, ListOperationsKeepOrderOwnershipAndReportChanges)
{
    int changes = 0;
    TMethod owner;
    owner.SetOnChange([&changes](TProjObj*) { ++changes; });
    TAdvDefineList& outputs = *owner.AdvDefine();
    for (const QString& name : {u"a"_s, u"b"_s, u"c"_s, u"d"_s})
        outputs.NewItem()->SetOutFile(name);
    EXPECT_EQ(changes, 4);

    const auto names = [&outputs] {
        QString text;
        for (int i = 0; i < outputs.Count(); ++i)
            text += outputs.Items(i)->OutFile();
        return text;
    };
    outputs.Move(0, 2);
    EXPECT_EQ(names(), u"bcad"_s);
    outputs.Exchange(0, 3);
    EXPECT_EQ(names(), u"dcab"_s);
    auto extra = std::make_unique<TAdvDefine>();
    extra->SetOutFile(u"x"_s);
    outputs.Insert(1, std::move(extra));
    EXPECT_EQ(names(), u"dxcab"_s);
    EXPECT_EQ(outputs.Items(1)->Owner(), &outputs);
    EXPECT_EQ(outputs.Items(3)->Index(), 3);
    outputs.Delete(0);
    outputs.Items(2)->Delete();
    EXPECT_EQ(names(), u"xcb"_s);
    EXPECT_EQ(changes, 9);

    for (const int bad : {-1, 3})
        EXPECT_THROW(outputs.Items(bad), EListError) << bad;
    EXPECT_THROW(outputs.Delete(3), EListError);
    EXPECT_THROW(outputs.Move(0, 3), EListError);
    EXPECT_THROW(outputs.Insert(5, std::make_unique<TAdvDefine>()), EListError);
    EXPECT_THROW(outputs.Add(nullptr), EListError);
    EXPECT_THROW(owner.Index(), EListError) << "the owner of a TMethod here is no list";

    outputs.Clear();
    EXPECT_EQ(outputs.Count(), 0);
    EXPECT_EQ(changes, 10);
}

TEST(BaseProjTest, AChangeClimbsToTheProjectButNotWhileLoading)
{
    TTavloProj job;
    QList<TProjObj*> senders;
    job.SetOnChange([&senders](TProjObj* sender) { senders.append(sender); });
    TFileInfo* document = job.Files()->NewItem();
    EXPECT_TRUE(document->Modified());
    EXPECT_TRUE(job.Files()->Modified());
    EXPECT_TRUE(job.Modified());
    EXPECT_EQ(senders, QList<TProjObj*>{&job});
    // Property writes are plain stores.
    document->SetPageScore(u"1"_s);
    job.Method()->SetEveryPageNum(3);
    EXPECT_EQ(senders.size(), 1);
    // A change deep inside the method reaches the project too.
    job.Method()->AdvDefine()->NewItem();
    EXPECT_EQ(senders.size(), 2);
    EXPECT_TRUE(job.Method()->Modified());

    pugi::xml_document document2;
    pugi::xml_node root = document2.append_child("PDFProduct");
    job.SaveToNode(root);
    TTavloProj loaded;
    int loadedChanges = 0;
    loaded.SetOnChange([&loadedChanges](TProjObj*) { ++loadedChanges; });
    loaded.LoadFromNode(root);
    EXPECT_EQ(loadedChanges, 0);
    EXPECT_TRUE(loaded.Modified());
    EXPECT_TRUE(loaded.Files()->Modified());
    ASSERT_EQ(loaded.Files()->Count(), 1);
    EXPECT_EQ(loaded.Files()->Items(0)->Owner(), loaded.Files());
}

TEST(BaseProjTest, EveryRegisteredClassHoldsItsSubObjects)
{
    std::vector<const TProjClass*> classes = RegisteredProjClasses();
    EXPECT_GE(classes.size(), 20u);
    for (const TProjClass* projClass : classes) {
        const std::unique_ptr<TPersistent> object = projClass->Create(nullptr);
        const QMetaObject& meta = *object->metaObject();
        EXPECT_EQ(&meta, &projClass->MetaObject()) << projClass->ClassName().toStdString();
        for (int i = 0; i < meta.propertyCount(); ++i) {
            const QMetaProperty property = meta.property(i);
            if (!property.metaType().flags().testFlag(QMetaType::PointerToGadget))
                continue;
            const QVariant value = property.readOnGadget(object.get());
            const auto* sub =
                static_cast<const TPersistent*>(*static_cast<void* const*>(value.constData()));
            ASSERT_NE(sub, nullptr) << meta.className() << "." << property.name();
            EXPECT_EQ(sub->Owner(), object.get()) << meta.className() << "." << property.name();
            EXPECT_TRUE(sub->metaObject()->inherits(property.metaType().metaObject()));
        }
    }
}

TEST(BaseProjTest, ProjectFilesThatCannotBeRead)
{
    QTemporaryDir folder;
    const QString broken = folder.filePath(u"broken.xml"_s);
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<PDFProduct><Files>");
    file.close();
    TTavloProj job;
    EXPECT_THROW(job.LoadFromFile(broken), EFileError);
    EXPECT_THROW(job.LoadFromFile(folder.filePath(u"missing.xml"_s)), EFileError);
    EXPECT_THROW(job.SaveToFile(folder.filePath(u"no/such/folder/job.xml"_s)), EFileError);
}

TEST(BaseProjTest, FileVersionText)
{
    const QString program = QCoreApplication::applicationFilePath();
    const QString fileVersion = ReadVersionString(program, u"FileVersion"_s);
    ASSERT_EQ(fileVersion.count(u'.'), 3);
    EXPECT_EQ(GetFileVersionText(program, TVersionForm::Long), fileVersion);
    EXPECT_EQ(GetFileVersionText(program, TVersionForm::Short),
              fileVersion.left(fileVersion.lastIndexOf(u'.')));
    QTemporaryDir folder;
    EXPECT_EQ(GetFileVersionText(folder.filePath(u"other.exe"_s), TVersionForm::Long), QString());
}

} // namespace

#include "BaseProjTest.moc"
