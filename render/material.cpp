#include "render/material.h"

#include <utility>

Material::Material(std::shared_ptr<Shader> shader, const glm::vec3& baseColor,
                   const glm::vec3& materialCoefficients, float specularAlpha)
    : shader_(std::move(shader)),
      baseColor_(baseColor),
      materialCoefficients_(materialCoefficients),
      specularAlpha_(specularAlpha) {}

std::shared_ptr<Material> Material::create(std::shared_ptr<Shader> shader,
                                           const glm::vec3& baseColor,
                                           const glm::vec3& materialCoefficients,
                                           float specularAlpha) {
    return std::make_shared<Material>(std::move(shader), baseColor, materialCoefficients,
                                      specularAlpha);
}

void Material::setUniforms() {
    shader_->setUniform("materialCoefficients", materialCoefficients_);
    shader_->setUniform("specularAlpha", specularAlpha_);
    shader_->setUniform("baseColor", baseColor_);
}

TextureMaterial::TextureMaterial(std::shared_ptr<Shader> shader,
                                 const glm::vec3& materialCoefficients, float specularAlpha,
                                 std::shared_ptr<Texture> diffuseTexture)
    : Material(std::move(shader), glm::vec3(1.0f), materialCoefficients, specularAlpha),
      diffuseTexture_(std::move(diffuseTexture)) {}

std::shared_ptr<Material> TextureMaterial::create(std::shared_ptr<Shader> shader,
                                                  const glm::vec3& materialCoefficients,
                                                  float specularAlpha,
                                                  std::shared_ptr<Texture> diffuseTexture) {
    return std::make_shared<TextureMaterial>(std::move(shader), materialCoefficients, specularAlpha,
                                             std::move(diffuseTexture));
}

void TextureMaterial::setUniforms() {
    Material::setUniforms();
    diffuseTexture_->bind(0);
    shader_->setUniform("diffuseTexture", 0);
}
