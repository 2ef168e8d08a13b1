#include "tools/body_text/mime_walk.h"

#include <algorithm>
#include <vector>

#include "body/byte_search.h"
#include "tools/body_text/encoded_words.h"
#include "tools/body_text/mime_headers.h"
#include "tools/body_text/mime_parameters.h"

namespace lintrel::cli {
namespace {

// How a part counts for the search, in the multipart around it.
enum class Role {
  kSearched,
  kTentative,  // the first part of a multipart/related whose start part has not shown yet
  kIgnored,    // an attachment, or a part of a multipart/related other than its start part
};

// A text part found: its place in the body and how to read it.
struct Candidate {
  size_t begin;
  size_t end;
  TransferEncoding encoding;
  std::optional<std::string> charset;
  bool html;
};

// The first text/plain and the first text/html part of what a search
// covers.
struct Found {
  std::optional<Candidate> plain;
  std::optional<Candidate> html;
};

// Sets what `into` lacks from `from`; whether that changed it.
bool Merge(Found& into, const Found& from) {
  bool changed = false;
  if (!into.plain && from.plain) {
    into.plain = from.plain;
    changed = true;
  }
  if (!into.html && from.html) {
    into.html = from.html;
    changed = true;
  }
  return changed;
}

// A multipart being read.
struct Multipart {
  std::string boundary;
  // Python compares a boundary with bytes above 127 as characters, and a
  // line's such bytes as no characters: they never match.
  bool matchable = true;
  bool digest = false;               // its parts are message/rfc822 unless they say otherwise
  bool related = false;              // only its start part is searched
  std::optional<std::string> start;  // a related's "start" parameter, when not empty
  Role role = Role::kSearched;
  size_t parts = 0;
  bool start_known = false;  // a related's start part has shown
  Found found;
  Found first_part;  // a related's first part, until its start part shows
};

Multipart MakeMultipart(std::string_view type, const ContentTypeValue& content_type,
                        std::string boundary, Role role) {
  Multipart m;
  m.matchable = std::all_of(boundary.begin(), boundary.end(),
                            [](char c) { return static_cast<unsigned char>(c) < 128; });
  m.boundary = std::move(boundary);
  m.digest = type == "multipart/digest";
  m.related = type == "multipart/related";
  if (m.related) {
    m.start = content_type.Param("start");
    if (m.start && m.start->empty()) m.start.reset();
  }
  m.role = role;
  return m;
}

// A line that is a boundary line of open_[multipart]: its last if `close`.
struct BoundaryLine {
  LineSpan line;
  size_t multipart;
  bool close;
};

// The search for the next boundary line: one found, the end of the body,
// or the end of the prefix before either.
struct Scan {
  enum { kBoundary, kEnd, kNeedMore } what;
  BoundaryLine boundary;
};

// Where a part ends at a boundary line or the end of the body: before the
// line break that belongs to the boundary.
size_t WithoutLastBreak(std::string_view body, size_t begin, size_t end) {
  if (end > begin && body[end - 1] == '\n') {
    --end;
    if (end > begin && body[end - 1] == '\r') --end;
  } else if (end > begin && body[end - 1] == '\r') {
    --end;
  }
  return end;
}

// The content type of a part in `parent` whose Content-Type is `value`, if
// it has one; else message/rfc822 in a multipart/digest and text/plain
// elsewhere.
std::string PartType(const std::optional<ContentTypeValue>& value, const Multipart& parent) {
  if (value) return value->type();
  return parent.digest ? "message/rfc822" : "text/plain";
}

bool IsAttachmentPart(const HeaderFields& fields) {
  const auto& disposition = fields.Value(HeaderField::kDisposition);
  return disposition && IsAttachment(*disposition);
}

// str(part['content-id']) == start.
bool HasContentId(const HeaderFields& fields, std::string_view start) {
  const auto& value = fields.Value(HeaderField::kContentId);
  if (!value) return false;
  std::string id;
  for (const TextSegment& segment : DecodeUnstructured(*value)) id += segment.bytes;
  return id == start;
}

// The walk through the body of a multipart message, as feedparser reads
// it: the open multiparts, innermost last, and where the reading stands.
class Walk {
 public:
  Walk(std::string_view body, bool complete) : body_(body), complete_(complete) {}

  TextPartAnswer Run(Multipart root);

 private:
  enum class Mode {
    kOwnLines,       // the innermost multipart reads its preamble, or its next boundary line
    kAfterBoundary,  // after a boundary line: more of the same multipart's are skipped
    kPartHeaders,
    kPartBody,
    kAfterLast,  // after the innermost multipart's last boundary: only outer ones matter
  };

  std::optional<BoundaryLine> Match(const LineSpan& line, size_t count) const;
  Scan NextBoundaryLine(size_t from, size_t count) const;
  Role RoleOfNextPart(const HeaderFields& fields);
  void StartPartBody(size_t at);
  void EndPart(size_t end);
  void Add(size_t level, Role role, const Found& found);
  void EndMultipart();
  TextPartAnswer Answer() const;

  std::string_view body_;
  bool complete_;
  std::vector<Multipart> open_;
  Mode mode_ = Mode::kOwnLines;
  size_t at_ = 0;  // the start of the next line to read
  // The part being read.
  HeaderFields fields_;
  size_t last_header_line_ = 0;
  size_t part_body_ = 0;
  Role part_role_ = Role::kIgnored;
  bool part_is_candidate_ = false;
  bool part_is_html_ = false;
  std::optional<std::string> part_charset_;  // of a candidate part
};

// The outermost of the first `count` open multiparts that `line` is a
// boundary line of: "--", the boundary, "--" for the last, blanks.
std::optional<BoundaryLine> Walk::Match(const LineSpan& line, size_t count) const {
  std::string_view text = body_.substr(line.start, line.end - line.start);
  if (!text.starts_with("--")) return std::nullopt;
  text.remove_prefix(2);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  for (size_t k = 0; k < count; ++k) {
    const Multipart& m = open_[k];
    if (!m.matchable) continue;
    if (text == m.boundary) return BoundaryLine{line, k, false};
    if (text.size() == m.boundary.size() + 2 && text.starts_with(m.boundary) &&
        text.ends_with("--")) {
      return BoundaryLine{line, k, true};
    }
  }
  return std::nullopt;
}

// The first boundary line, of the first `count` open multiparts, among the
// lines from `from` (the start of a line) on. Only lines that begin with
// "--" are looked at, found a block at a time.
Scan Walk::NextBoundaryLine(size_t from, size_t count) const {
  for (size_t pos = from;;) {
    const size_t dashes = FindBytePair<'-', '-'>(body_, pos);
    if (dashes == body_.size()) return Scan{complete_ ? Scan::kEnd : Scan::kNeedMore, {}};
    if (dashes > from && body_[dashes - 1] != '\n' && body_[dashes - 1] != '\r') {
      pos = dashes + 1;
      continue;
    }
    const std::optional<LineSpan> line = LineAt(body_, dashes, complete_);
    if (!line) return Scan{Scan::kNeedMore, {}};
    if (const std::optional<BoundaryLine> boundary = Match(*line, count)) {
      return Scan{Scan::kBoundary, *boundary};
    }
    pos = line->next;
  }
}

// Which part of the innermost multipart the next one is, and so how it
// counts: Message._find_body searches every part of a multipart but a
// related one, whose start part (the one whose Content-ID is its "start"
// parameter, else its first) alone it searches. An attachment, with all
// inside it, is never searched.
Role Walk::RoleOfNextPart(const HeaderFields& fields) {
  Multipart& parent = open_.back();
  Role role = Role::kSearched;
  if (parent.related) {
    if (parent.start_known) {
      role = Role::kIgnored;
    } else if (!parent.start) {
      parent.start_known = true;
    } else if (HasContentId(fields, *parent.start)) {
      parent.start_known = true;
      parent.first_part = {};
    } else {
      role = parent.parts == 0 ? Role::kTentative : Role::kIgnored;
    }
  }
  ++parent.parts;
  return IsAttachmentPart(fields) ? Role::kIgnored : role;
}

// The part's header block is read; its body begins at `at`. A multipart
// opens; a message/* part, a multipart without a boundary or too deep, and
// any other part are read to their end, and text/plain and text/html ones
// are candidates.
void Walk::StartPartBody(size_t at) {
  const auto& field = fields_.Value(HeaderField::kContentType);
  const std::optional<ContentTypeValue> content_type =
      field ? std::optional<ContentTypeValue>(*field) : std::nullopt;
  const std::string type = PartType(content_type, open_.back());
  part_role_ = RoleOfNextPart(fields_);
  part_body_ = at;
  at_ = at;
  part_is_candidate_ = false;
  if (type.starts_with("multipart/")) {
    // Only a Content-Type names a multipart.
    std::optional<std::string> boundary = content_type->Boundary();
    if (boundary && open_.size() < kMaxMultipartDepth) {
      open_.push_back(MakeMultipart(type, *content_type, std::move(*boundary), part_role_));
      mode_ = Mode::kOwnLines;
      return;
    }
  }
  part_is_html_ = type == "text/html";
  part_is_candidate_ = part_role_ != Role::kIgnored && (type == "text/plain" || part_is_html_);
  part_charset_ =
      part_is_candidate_ && content_type ? content_type->Param("charset") : std::nullopt;
  mode_ = Mode::kPartBody;
}

// The part being read ends at `end`, a boundary line or the end of the
// body.
void Walk::EndPart(size_t end) {
  if (part_is_candidate_) {
    Candidate candidate{part_body_, WithoutLastBreak(body_, part_body_, end),
                        TransferEncoding::kNone, std::nullopt, part_is_html_};
    if (const auto& value = fields_.Value(HeaderField::kTransferEncoding)) {
      candidate.encoding = TransferEncodingOf(*value);
    }
    candidate.charset = std::move(part_charset_);
    Found found;
    (candidate.html ? found.html : found.plain) = std::move(candidate);
    Add(open_.size() - 1, part_role_, found);
  }
  at_ = end;
  mode_ = Mode::kOwnLines;
}

// What a part of open_[level] holds, added to what that multipart's search
// has found, and on up as far as the parts count for their multiparts. The
// first text/plain found in the root's search is the answer.
void Walk::Add(size_t level, Role role, const Found& found) {
  for (;;) {
    if (role == Role::kIgnored) return;
    Multipart& m = open_[level];
    if (role == Role::kTentative) {
      Merge(m.first_part, found);
      return;
    }
    if (!Merge(m.found, found) || level == 0) return;
    role = m.role;
    --level;
  }
}

// The innermost multipart ends. A related one whose start part never
// showed has its first part for it.
void Walk::EndMultipart() {
  Multipart& m = open_.back();
  if (m.related && !m.start_known) m.found = m.first_part;
  if (open_.size() > 1) {
    Add(open_.size() - 2, m.role, m.found);
    open_.pop_back();
  }
}

TextPartAnswer Walk::Answer() const {
  const Found& found = open_.front().found;
  const std::optional<Candidate>& part = found.plain ? found.plain : found.html;
  if (!part) return {TextPartStatus::kNone, {}};
  return {TextPartStatus::kFound,
          {body_.substr(part->begin, part->end - part->begin), part->encoding, part->charset,
           part->html}};
}

TextPartAnswer Walk::Run(Multipart root) {
  open_.push_back(std::move(root));
  const auto need_more = TextPartAnswer{TextPartStatus::kNeedMore, {}};
  while (!open_.front().found.plain) {
    switch (mode_) {
      case Mode::kOwnLines:
      case Mode::kAfterLast: {
        const size_t count = open_.size() - (mode_ == Mode::kAfterLast ? 1 : 0);
        const Scan scan = NextBoundaryLine(at_, count);
        if (scan.what == Scan::kNeedMore) return need_more;
        if (scan.what == Scan::kEnd) {
          while (open_.size() > 1) EndMultipart();
          EndMultipart();
          return Answer();
        }
        const BoundaryLine& b = scan.boundary;
        at_ = b.line.start;
        if (b.multipart + 1 < open_.size()) {
          // An outer boundary: the innermost multipart ends without its last.
          EndMultipart();
          mode_ = Mode::kOwnLines;
        } else if (b.close) {
          if (open_.size() == 1) {
            EndMultipart();
            return Answer();
          }
          at_ = b.line.next;
          mode_ = Mode::kAfterLast;
        } else {
          at_ = b.line.next;
          mode_ = Mode::kAfterBoundary;
        }
        break;
      }
      case Mode::kAfterBoundary: {
        // The next line begins a part, unless it is another boundary line of
        // the same multipart. An outer boundary line, or the end, makes an
        // empty part.
        fields_ = HeaderFields();
        if (at_ == body_.size()) {
          if (!complete_) return need_more;
          StartPartBody(at_);
          break;
        }
        const std::optional<LineSpan> line = LineAt(body_, at_, complete_);
        if (!line) return need_more;
        const std::optional<BoundaryLine> b = Match(*line, open_.size());
        if (!b) {
          mode_ = Mode::kPartHeaders;
        } else if (b->multipart + 1 == open_.size()) {
          at_ = line->next;
        } else {
          StartPartBody(at_);
        }
        break;
      }
      case Mode::kPartHeaders: {
        // Up to the first line that is no header line; an empty one is
        // dropped. A boundary line ends the part with the block. A last
        // "From " line is the body's first.
        std::optional<size_t> body;
        std::optional<LineSpan> line;
        if (at_ == body_.size()) {
          if (!complete_) return need_more;
          body = at_;
        } else {
          line = LineAt(body_, at_, complete_);
          if (!line) return need_more;
          const std::string_view text = body_.substr(line->start, line->end - line->start);
          if (Match(*line, open_.size())) {
            body = line->start;
          } else if (IsHeaderLine(text)) {
            fields_.AddLine(text);
            last_header_line_ = line->start;
            at_ = line->next;
          } else {
            body = text.empty() ? line->next : line->start;
          }
        }
        if (body) StartPartBody(fields_.EndsWithEnvelopeLine() ? last_header_line_ : *body);
        break;
      }
      case Mode::kPartBody: {
        const Scan scan = NextBoundaryLine(at_, open_.size());
        if (scan.what == Scan::kNeedMore) return need_more;
        EndPart(scan.what == Scan::kEnd ? body_.size() : scan.boundary.line.start);
        break;
      }
    }
  }
  return Answer();
}

}  // namespace

TextPartAnswer FindTextPart(std::string_view headers, std::string_view body_prefix,
                            bool body_complete) {
  return FindTextPart(ReadHeaderBlock(headers), body_prefix, body_complete);
}

TextPartAnswer FindTextPart(const HeaderFields& fields, std::string_view body_prefix,
                            bool body_complete) {
  if (IsAttachmentPart(fields)) return {TextPartStatus::kNone, {}};
  const auto& content_type = fields.Value(HeaderField::kContentType);
  const std::optional<ContentTypeValue> value =
      content_type ? std::optional<ContentTypeValue>(*content_type) : std::nullopt;
  const std::string type = value ? value->type() : "text/plain";
  if (type == "text/plain" || type == "text/html") {
    if (!body_complete) return {TextPartStatus::kNeedMore, {}};
    TextPart part{body_prefix, TransferEncoding::kNone, std::nullopt, type == "text/html"};
    if (const auto& encoding = fields.Value(HeaderField::kTransferEncoding)) {
      part.encoding = TransferEncodingOf(*encoding);
    }
    if (value) part.charset = value->Param("charset");
    return {TextPartStatus::kFound, std::move(part)};
  }
  if (!type.starts_with("multipart/")) return {TextPartStatus::kNone, {}};
  std::optional<std::string> boundary = value->Boundary();
  if (!boundary) return {TextPartStatus::kNone, {}};
  return Walk(body_prefix, body_complete)
      .Run(MakeMultipart(type, *value, std::move(*boundary), Role::kSearched));
}

}  // namespace lintrel::cli
