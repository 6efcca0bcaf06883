// Sections of curve members: replacing the profile properties a member is
// associated with, and renaming profile properties.
#ifndef KORVA_UPDATE_MEMBER_SECTIONS_H
#define KORVA_UPDATE_MEMBER_SECTIONS_H

namespace korva {
namespace update {

// The dimensions of an I-section, in the host's argument order.
struct ISection {
  double overallWidth, overallDepth, webThickness, flangeThickness, filletRadius;
};

// The 14 values of a general section, in the host's argument order:
// TorsionalConstantX, MomentOfInertiaYZ, MomentOfInertiaY,
// MomentOfInertiaZ, WarpingConstant, ShearCentreZ, ShearCentreY,
// ShearDeformationAreaY, ShearDeformationAreaZ, MaximumSectionModulusY,
// MinimumSectionModulusY, MaximumSectionModulusZ, MinimumSectionModulusZ,
// TorsionalSectionModulus.
constexpr int kGeneralSectionValues = 14;

// Both replacements find the first curve member with GlobalId `memberId`
// that has an IfcRelAssociatesProfileProperties R (the first among its
// referrers), create new IfcStructuralProfileProperties named
// `sectionName`, and make R refer to them, with a new GlobalId and the
// update owner history.  The former profile properties stay in the file.
// No such member: nothing is created.
//
// I-section: the profile properties get an IfcIShapeProfileDef (AREA,
// named `sectionName`, placed at the origin along (1, 0)).
int ReplaceWithISection(const char* memberId, const char* sectionName, const ISection& section);
// General section: the 14 values above; no profile definition.
int ReplaceWithGeneralSection(const char* memberId, const char* sectionName,
                              const double values[kGeneralSectionValues]);

// Every IfcStructuralProfileProperties of the update design whose instance
// number (its number in the file read) is `fileId` is named `newName`.
int RenameSection(int fileId, const char* newName);

// The same on the design of `inputFile`, which is then saved as
// `outputFile` in `outputDirectory`, discarded, and the interface object
// shut down.  Independent of an open update (an update design of the same
// file goes with the shutdown).  A file that cannot be read changes
// nothing and shuts nothing down.
int RenameSectionInFile(int fileId, const char* inputFile, const char* newName, const char* outputFile,
                        const char* outputDirectory);

}  // namespace update
}  // namespace korva

#endif  // KORVA_UPDATE_MEMBER_SECTIONS_H
