#include "core/topics/topicfiles.h"

#include <QFile>

#include <string_view>

namespace Topics {

namespace {

// The characters a file name cannot hold on the systems the data folder
// travels between, and NUL, which ends a name for the system; they are
// dropped from a topic name, not replaced.
constexpr std::u16string_view kStripped{u"\"*./:<>?[\\]|\0", 13};

} // namespace

QString stripTopicName(const QString &topic)
{
    QString stripped;
    stripped.reserve(topic.size());
    for (const QChar c : topic) {
        if (kStripped.find(c.unicode()) == std::u16string_view::npos)
            stripped += c;
    }
    return stripped;
}

QString topicFileName(const QString &folder, const QString &topic, const QString &editorName)
{
    return folder + stripTopicName(topic) + QLatin1Char('_') + editorName + QStringLiteral(".txt");
}

namespace {

// Characters that break a line or move to a tab stop: pasted with a name,
// they stand between words.
bool isBreakOrTab(QChar c)
{
    switch (c.unicode()) {
    case 0x09: case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x85: case 0x2028: case 0x2029:
        return true;
    default:
        return false;
    }
}

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control || isBreakOrTab(c);
}

} // namespace

QString cleanTopicName(const QString &typed)
{
    QString cleaned;
    cleaned.reserve(typed.size());
    bool pendingBlank = false;
    for (const QChar c : typed) {
        if (isControl(c)) {
            if (isBreakOrTab(c))
                pendingBlank = true;
            continue;
        }
        // A break between two words keeps them apart; one next to a blank,
        // or at either end, is simply dropped.
        if (pendingBlank && !cleaned.isEmpty() && c != QLatin1Char(' ')
            && !cleaned.endsWith(QLatin1Char(' ')))
            cleaned += QLatin1Char(' ');
        pendingBlank = false;
        cleaned += c;
    }
    return cleaned;
}

int longestFileNameBytes(const QString &topic, const QStringList &editorNames)
{
    const QString stripped = stripTopicName(topic);
    int longest = 0;
    for (const QString &editor : editorNames) {
        const QString name = stripped + QLatin1Char('_') + editor + QStringLiteral(".txt");
        longest = qMax(longest, int(QFile::encodeName(name).size()));
    }
    return longest;
}

bool isBlankTopic(const QString &topic)
{
    for (const QChar c : topic) {
        if (c.unicode() > 0x20)
            return false;
    }
    return true;
}

QString deleteQuestion(const QString &topic)
{
    QString quoted = topic;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("Are you sure you wan to delete'") + quoted + QLatin1Char('\'');
}

QStringList editorLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char('\n'));
}

QString joinEditorLines(const QStringList &lines)
{
    return lines.join(QLatin1Char('\n'));
}

const QStringList &builtInJournalTopics()
{
    static const QStringList topics{
        QStringLiteral("Best Childhood Memories"),
        QStringLiteral("Best Places In My City"),
        QStringLiteral("Books I Want To Read"),
        QStringLiteral("Bucket List"),
        QStringLiteral("Celebrities I Hate"),
        QStringLiteral("Celebrities I Like"),
        QStringLiteral("Classes I Want To Take"),
        QStringLiteral("Concerts I Want To See"),
        QStringLiteral("Diseases I Fear Most"),
        QStringLiteral("Donations I Made"),
        QStringLiteral("Dream Dates"),
        QStringLiteral("Excuses I Make Too Often"),
        QStringLiteral("Favourite Music"),
        QStringLiteral("Financial Risks"),
        QStringLiteral("Foods I Love"),
        QStringLiteral("Foods I Want To Try"),
        QStringLiteral("Hardest Challenges"),
        QStringLiteral("Hobbies I Would Like To Try"),
        QStringLiteral("I Want To Accomplish In 5 Years"),
        QStringLiteral("I Want To Accomplish This Year"),
        QStringLiteral("Jobs I Would Like To Try"),
        QStringLiteral("Laws I Have Broken"),
        QStringLiteral("Memories I Want To Make"),
        QStringLiteral("Misjudgements I Have Made"),
        QStringLiteral("Most Embarrassing Moments"),
        QStringLiteral("Movies I Want To See"),
        QStringLiteral("My Bad Decisions"),
        QStringLiteral("My Good Decisions"),
        QStringLiteral("My Life Highlights."),
        QStringLiteral("My Phobias"),
        QStringLiteral("My Top Secrets"),
        QStringLiteral("My Top Skills"),
        QStringLiteral("My Turn Offs"),
        QStringLiteral("My Turn Ons"),
        QStringLiteral("People I Love"),
        QStringLiteral("People I Want To Forgive"),
        QStringLiteral("People I Want To Forgive Me"),
        QStringLiteral("People I Want To Meet"),
        QStringLiteral("People I Want To Meet In Heaven"),
        QStringLiteral("People I Want To Pray For"),
        QStringLiteral("People I Wronged"),
        QStringLiteral("People That Did Me Wrong"),
        QStringLiteral("Places I Love"),
        QStringLiteral("Places I Want To Drive To"),
        QStringLiteral("Places I Want To Visit"),
        QStringLiteral("Places I Want To Walk To"),
        QStringLiteral("Possessions I Should Get Rid Off"),
        QStringLiteral("Principles I Live By"),
        QStringLiteral("Reasons I\u2019M Depressed"),
        QStringLiteral("Sacrifices I Have Made"),
        QStringLiteral("Sports I Would Like To Try"),
        QStringLiteral("Tasks I Put Off"),
        QStringLiteral("Things I Can Offer In A Relationship"),
        QStringLiteral("Things I Hate Sharing"),
        QStringLiteral("Things I Love About My Body"),
        QStringLiteral("Things I Need To Finish"),
        QStringLiteral("Things I Need To Fix"),
        QStringLiteral("Things I Should Carry In My Purse"),
        QStringLiteral("Things I Want For Birthday"),
        QStringLiteral("Things I Want In A Partner"),
        QStringLiteral("Things I Want My Children To Know"),
        QStringLiteral("Things I Want To Do Again"),
        QStringLiteral("Things I Want To Do Before I Die"),
        QStringLiteral("Things I Want To Say To My Husband"),
        QStringLiteral("Things I Won"),
        QStringLiteral("Things I Would Change About My Body"),
        QStringLiteral("Things I Would Do If I Died"),
        QStringLiteral("Things I\u2019Ll Never Do Again"),
        QStringLiteral("Things That Don\u2019T Scare Me Any More"),
        QStringLiteral("Things That Make Me Angry"),
        QStringLiteral("Things That Make Me Jealous"),
        QStringLiteral("Things That Make Me Laugh"),
        QStringLiteral("Things That Make Me Sad"),
        QStringLiteral("Things That Make Me Tired"),
        QStringLiteral("Things That Relax Me"),
        QStringLiteral("Things That Scare Me"),
        QStringLiteral("This I Would Do If I Had Time"),
        QStringLiteral("Tricks I Want  To Learn"),
        QStringLiteral("Ways I Can Be Healthier"),
        QStringLiteral("Ways I Can Change The World"),
        QStringLiteral("Ways I Can Improve My Life"),
        QStringLiteral("Ways I Can Improve My Memory"),
        QStringLiteral("Ways I Can Make Money"),
        QStringLiteral("Ways I Can Save Money"),
        QStringLiteral("Ways I Shine"),
        QStringLiteral("Ways To Boost My Creativity"),
        QStringLiteral("Ways To Improve My Business"),
    };
    return topics;
}

const QStringList &builtInDecisionTopics()
{
    static const QStringList topics{
        QStringLiteral("Ask for a raise"),
        QStringLiteral("Buy a New car"),
        QStringLiteral("Buy a New House"),
        QStringLiteral("Switch Schools"),
        QStringLiteral("Switch Job"),
        QStringLiteral("Take a vacation"),
        QStringLiteral("Move to a new place"),
        QStringLiteral("Get married"),
        QStringLiteral("Home School kids"),
    };
    return topics;
}

} // namespace Topics
